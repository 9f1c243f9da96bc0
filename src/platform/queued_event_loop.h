#pragma once
// What every event loop keeps the same way: timers on the loop's own monotonic clock, the work other
// threads post, and the quit request. Each loop adds how its thread waits and is woken.
//
// Responsibilities:
// - Deadlines are kept in the loop's own tick (ms, µs or ns), ticksPerMs to the millisecond, so a
//   system clock finer than the millisecond keeps its precision.
// - post() queues the task, then calls wake() on the posting thread when the queue took it.
// - startTimer() and every dispatch pass, even one left by an exception, end with timersChanged(): a
//   loop that arms a system timer at the nearest deadline keeps it there.
#include <cstdint>

#include "platform/event_loop.h"
#include "platform/posted_queue.h"
#include "platform/timer_queue.h"

namespace tintal {

class QueuedEventLoop : public EventLoop {
public:
    // ticks: the loop's monotonic clock, in its own tick. Not copyable, as the clock may read the loop.
    QueuedEventLoop(TimerQueue::Clock ticks, std::int64_t ticksPerMs);
    QueuedEventLoop(const QueuedEventLoop&) = delete;
    QueuedEventLoop& operator=(const QueuedEventLoop&) = delete;

    std::int64_t monotonicMs() const override { return timers_.now() / ticksPerMs_; }
    TimerId startTimer(int intervalMs, Task fn) override;
    void stopTimer(TimerId id) override { timers_.stop(id); }
    void post(Task fn) override;
    void quit() override { quitRequested_ = true; }

protected:
    // Thread-safe: called by post() on the posting thread.
    virtual void wake() {}
    virtual void timersChanged() {}

    // The posted work queued when the pass starts, in order, then every timer due at that moment once.
    void dispatchPass();
    // The earlier of until (in ticks; < 0: none) and the nearest timer deadline; < 0 when neither.
    std::int64_t wakeDeadline(std::int64_t until) const;

    TimerQueue timers_;
    PostedQueue posted_;
    bool quitRequested_ = false;

private:
    std::int64_t ticksPerMs_;
};

}  // namespace tintal
