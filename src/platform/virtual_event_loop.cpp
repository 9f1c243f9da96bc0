#include "platform/virtual_event_loop.h"

#include <algorithm>
#include <utility>

#include "base/date_time.h"

namespace tintal {

VirtualEventLoop::VirtualEventLoop(double localStart) : localOffset_(localStart) {}

double VirtualEventLoop::localNow() const { return localOffset_ + static_cast<double>(nowMs_) / kMsPerDay; }

void VirtualEventLoop::setLocalNow(double localNow) { localOffset_ = localNow - static_cast<double>(nowMs_) / kMsPerDay; }

EventLoop::TimerId VirtualEventLoop::startTimer(int intervalMs, Task fn) {
    const int interval = std::max(1, intervalMs);
    const TimerId id = nextId_++;
    timers_.emplace(id, TimerEntry{interval, nowMs_ + interval, nextOrder_++, std::move(fn)});
    return id;
}

void VirtualEventLoop::stopTimer(TimerId id) { timers_.erase(id); }

void VirtualEventLoop::post(Task fn) {
    std::lock_guard lock(postedMutex_);
    posted_.push_back(std::move(fn));
}

bool VirtualEventLoop::runPosted() {
    bool ran = false;
    for (;;) {
        Task task;
        {
            std::lock_guard lock(postedMutex_);
            if (posted_.empty()) return ran;
            task = std::move(posted_.front());
            posted_.pop_front();
        }
        task();
        ran = true;
    }
}

bool VirtualEventLoop::fireNextTimer(std::int64_t limit) {
    auto next = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
        const auto& t = it->second;
        if (t.due > limit) continue;
        if (next == timers_.end() || t.due < next->second.due ||
            (t.due == next->second.due && t.order < next->second.order)) {
            next = it;
        }
    }
    if (next == timers_.end()) return false;
    nowMs_ = std::max(nowMs_, next->second.due);
    // Rescheduled before the call, so a nested pump inside the handler can fire it again.
    next->second.due = nowMs_ + next->second.interval;
    next->second.order = nextOrder_++;
    Task fn = next->second.fn;  // the handler may stop (erase) its own timer
    fn();
    return true;
}

void VirtualEventLoop::processPending() {
    runPosted();
    while (fireNextTimer(nowMs_)) runPosted();
}

void VirtualEventLoop::advance(std::int64_t ms) {
    const std::int64_t target = nowMs_ + std::max<std::int64_t>(0, ms);
    runPosted();
    while (fireNextTimer(target)) runPosted();
    nowMs_ = std::max(nowMs_, target);
}

void VirtualEventLoop::run() {
    quitRequested_ = false;
    while (!quitRequested_) {
        if (runPosted()) continue;
        if (timers_.empty()) break;
        std::int64_t due = timers_.begin()->second.due;
        for (const auto& [id, t] : timers_) due = std::min(due, t.due);
        fireNextTimer(std::max(due, nowMs_));
    }
    quitRequested_ = false;
}

}  // namespace tintal
