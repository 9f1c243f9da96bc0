#pragma once
// The window thread's dispatcher: timers, posted work and the pumping wait.
//
// Contract: every method except post() is called on the window thread only. Timers and posted
// work run on the window thread, one at a time, in due order. pump() dispatches while it waits,
// so handlers may be re-entered (a timer may fire again inside a pump() of its own handler);
// callers guard against that with their own flags, as the rest of the program does.
#include <cstdint>
#include <functional>

namespace tintal {

class EventLoop {
public:
    using TimerId = int;  // 0 is never a valid id
    using Task = std::function<void()>;

    virtual ~EventLoop() = default;

    // Milliseconds on a clock that does not jump when the wall clock is set.
    virtual std::int64_t monotonicMs() const = 0;
    // Local wall-clock date-time, days since 1899-12-30.
    virtual double localNow() const = 0;

    // Calls fn every intervalMs (at least 1) until stopTimer(); the first call comes after one interval.
    virtual TimerId startTimer(int intervalMs, Task fn) = 0;
    // Unknown or already stopped ids are ignored; safe to call from inside the timer's own handler.
    virtual void stopTimer(TimerId id) = 0;

    // Thread-safe: queues fn to run on the window thread, after the work already queued.
    virtual void post(Task fn) = 0;
    // Runs the posted work and the timers that are due now, without waiting.
    virtual void processPending() = 0;
    // The pumping delay: keeps dispatching until at least ms have elapsed on the monotonic clock.
    virtual void pump(int ms) = 0;

    // Dispatches until quit() is called (from a handler or through post()).
    virtual void run() = 0;
    virtual void quit() = 0;
};

}  // namespace tintal
