#include "platform/timer_queue.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace tintal {

TimerQueue::TimerId TimerQueue::start(std::int64_t interval, Task fn) {
    const TimerId id = nextId_++;
    auto& timer = timers_[id];
    timer.interval = interval;
    timer.fn = std::make_shared<Task>(std::move(fn));
    timer.key = {std::numeric_limits<std::int64_t>::min(), 0};  // not queued yet
    schedule(id, timer, now_() + interval);
    return id;
}

void TimerQueue::stop(TimerId id) {
    const auto it = timers_.find(id);
    if (it == timers_.end()) return;
    deadlines_.erase(it->second.key);
    timers_.erase(it);
}

std::optional<std::int64_t> TimerQueue::nextDeadline() const {
    if (deadlines_.empty()) return std::nullopt;
    return deadlines_.begin()->first.first;
}

void TimerQueue::schedule(TimerId id, Entry& timer, std::int64_t due) {
    deadlines_.erase(timer.key);
    timer.key = {due, nextSequence_++};
    deadlines_.emplace(timer.key, id);
}

void TimerQueue::fire(TimerId id, const QueueKey& key) {
    const auto it = timers_.find(id);
    // Skipped when an earlier handler stopped it, or a nested pump already fired it.
    if (it == timers_.end() || it->second.key != key) return;
    Entry& timer = it->second;
    schedule(id, timer, std::max(key.first + timer.interval, now_()));
    const std::shared_ptr<Task> fn = timer.fn;
    if (*fn) (*fn)();
}

void TimerQueue::fireDue() {
    const std::int64_t now = now_();
    std::vector<std::pair<TimerId, QueueKey>> due;
    for (auto it = deadlines_.begin(); it != deadlines_.end() && it->first.first <= now; ++it) {
        due.emplace_back(it->second, it->first);
    }
    for (const auto& [id, key] : due) fire(id, key);
}

bool TimerQueue::fireNext(std::int64_t limit) {
    if (deadlines_.empty() || deadlines_.begin()->first.first > limit) return false;
    const auto [key, id] = *deadlines_.begin();
    fire(id, key);
    return true;
}

}  // namespace tintal
