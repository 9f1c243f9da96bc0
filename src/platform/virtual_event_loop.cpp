#include "platform/virtual_event_loop.h"

#include <algorithm>

#include "base/date_time.h"

namespace tintal {

VirtualEventLoop::VirtualEventLoop(double localStart)
    : QueuedEventLoop([this] { return nowMs_; }, 1), localOffset_(localStart) {}

double VirtualEventLoop::localNow() const { return localOffset_ + static_cast<double>(nowMs_) / kMsPerDay; }

void VirtualEventLoop::setLocalNow(double localNow) {
    localOffset_ = localNow - static_cast<double>(nowMs_) / kMsPerDay;
}

bool VirtualEventLoop::fireNextTimer(std::int64_t limit) {
    const auto due = timers_.nextDeadline();
    if (!due || *due > limit) return false;
    nowMs_ = std::max(nowMs_, *due);
    return timers_.fireNext(limit);
}

void VirtualEventLoop::runDue(std::int64_t limit) {
    posted_.runAll();
    while (fireNextTimer(limit)) posted_.runAll();
}

void VirtualEventLoop::processPending() { runDue(nowMs_); }

void VirtualEventLoop::advance(std::int64_t ms) {
    const std::int64_t target = nowMs_ + std::max<std::int64_t>(0, ms);
    runDue(target);
    nowMs_ = std::max(nowMs_, target);
}

void VirtualEventLoop::run() {
    quitRequested_ = false;
    while (!quitRequested_) {
        if (posted_.runAll()) continue;
        const auto due = timers_.nextDeadline();
        if (!due) break;
        fireNextTimer(std::max(*due, nowMs_));
    }
    quitRequested_ = false;
}

}  // namespace tintal
