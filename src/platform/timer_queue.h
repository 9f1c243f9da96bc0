#pragma once
// The timers of an event loop: deadlines on the loop's own monotonic clock, kept in due order.
//
// Responsibilities, shared by every loop:
// - Timers fire in deadline order, then in the order their deadlines were set.
// - A timer's next deadline is set before its handler runs, to max(previous deadline + interval,
//   now): a handler that lags gets one late call, not a burst of catch-up calls, and a nested pump
//   inside the handler may fire it again.
// - A handler may stop any timer, its own included, and start new ones; a stopped timer never fires
//   again, even from a pass that had already found it due.
// Window thread only; the unit of time is the owner's (ms, µs or ns), given by its clock.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <utility>

#include "platform/event_loop.h"

namespace tintal {

class TimerQueue {
public:
    using TimerId = EventLoop::TimerId;
    using Task = EventLoop::Task;
    using Clock = std::function<std::int64_t()>;

    explicit TimerQueue(Clock now) : now_(std::move(now)) {}

    // The first call comes one interval from now.
    TimerId start(std::int64_t interval, Task fn);
    // Unknown or already stopped ids are ignored.
    void stop(TimerId id);

    std::int64_t now() const { return now_(); }
    std::size_t size() const { return timers_.size(); }
    std::optional<std::int64_t> nextDeadline() const;

    // Fires once each timer due at the start of the call, in due order.
    void fireDue();
    // Fires the earliest timer if it is due at or before limit; false when none is.
    bool fireNext(std::int64_t limit);

private:
    // Ordered by deadline, then by when the deadline was set.
    using QueueKey = std::pair<std::int64_t, std::uint64_t>;
    struct Entry {
        std::int64_t interval;
        QueueKey key;
        std::shared_ptr<Task> fn;  // shared so the handler survives a stop() of its own
    };

    void schedule(TimerId id, Entry& timer, std::int64_t due);
    // Re-arms the timer and calls its handler, unless it was stopped or already fired since key.
    void fire(TimerId id, const QueueKey& key);

    Clock now_;
    std::map<TimerId, Entry> timers_;
    std::map<QueueKey, TimerId> deadlines_;
    TimerId nextId_ = 1;
    std::uint64_t nextSequence_ = 0;
};

}  // namespace tintal
