#include "platform/virtual_event_loop.h"

#include <algorithm>
#include <utility>

#include "base/date_time.h"

namespace tintal {

VirtualEventLoop::VirtualEventLoop(double localStart) : localOffset_(localStart) {}

double VirtualEventLoop::localNow() const { return localOffset_ + static_cast<double>(nowMs_) / kMsPerDay; }

void VirtualEventLoop::setLocalNow(double localNow) {
    localOffset_ = localNow - static_cast<double>(nowMs_) / kMsPerDay;
}

EventLoop::TimerId VirtualEventLoop::startTimer(int intervalMs, Task fn) {
    return timers_.start(std::max(1, intervalMs), std::move(fn));
}

void VirtualEventLoop::stopTimer(TimerId id) { timers_.stop(id); }

void VirtualEventLoop::post(Task fn) { posted_.push(std::move(fn)); }

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
