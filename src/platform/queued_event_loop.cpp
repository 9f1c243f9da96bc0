#include "platform/queued_event_loop.h"

#include <algorithm>
#include <utility>

namespace tintal {

QueuedEventLoop::QueuedEventLoop(TimerQueue::Clock ticks, std::int64_t ticksPerMs)
    : timers_(std::move(ticks)), ticksPerMs_(ticksPerMs) {}

EventLoop::TimerId QueuedEventLoop::startTimer(int intervalMs, Task fn) {
    const TimerId id = timers_.start(std::max(1, intervalMs) * ticksPerMs_, std::move(fn));
    timersChanged();
    return id;
}

void QueuedEventLoop::post(Task fn) {
    if (posted_.push(std::move(fn))) wake();
}

void QueuedEventLoop::dispatchPass() {
    struct AfterPass {
        QueuedEventLoop& loop;
        ~AfterPass() { loop.timersChanged(); }
    } afterPass{*this};
    posted_.runBatch();
    timers_.fireDue();
}

std::int64_t QueuedEventLoop::wakeDeadline(std::int64_t until) const {
    const auto next = timers_.nextDeadline();
    if (!next) return until;
    return until < 0 ? *next : std::min(until, *next);
}

}  // namespace tintal
