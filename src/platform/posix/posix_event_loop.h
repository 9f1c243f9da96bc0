#pragma once
// The Linux window-thread dispatcher: poll() on an eventfd (woken by post()) and a timerfd armed
// at the nearest deadline on CLOCK_MONOTONIC.
//
// Responsibilities, beyond the EventLoop contract:
// - One dispatch pass runs the posted work queued when the pass starts, in order, then every timer
//   due at that moment once. Work posted during a pass waits for the next one, so a task that
//   re-posts itself cannot starve the timers or keep processPending() from returning.
// - A timer's next deadline is set before its handler runs, to max(previous deadline + interval,
//   now): a handler that lags gets one late call, not a burst of catch-up calls.
// - quit() only ends run(); a pump() always waits its full time, and a quit() made inside a nested
//   pump() ends run() once the pumps have unwound. A quit() made outside run() makes the next
//   run() return at once. quit() ends the innermost run() when runs are nested.
// - An exception thrown by a task or a timer handler propagates out of the dispatching call
//   (processPending, pump or run). The loop stays usable: the throwing task is gone, a throwing
//   timer keeps its new deadline, and the rest of the queued work runs on the next dispatch.
// - The constructor throws std::system_error when the kernel objects cannot be created.
#include <cstdint>

#include "platform/queued_event_loop.h"

namespace tintal {

// Deadlines in ns.
class PosixEventLoop : public QueuedEventLoop {
public:
    PosixEventLoop();
    ~PosixEventLoop() override;

    double localNow() const override;
    void processPending() override { dispatchPass(); }
    void pump(int ms) override;
    void run() override;

private:
    void wake() override;
    // Blocks until posted work arrives, a timer falls due or untilNs (monotonic ns, < 0: none) passes.
    void waitForWork(std::int64_t untilNs);

    int wakeFd_ = -1;
    int timerFd_ = -1;
};

}  // namespace tintal
