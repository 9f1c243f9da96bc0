#pragma once
// The signals that end the Linux clock (Ctrl+C, kill, a closing terminal or SSH session), taken by a
// thread of their own so that the window thread never runs in a signal handler.
//
// Contract: built on the main thread before any other thread starts (the threads started later inherit
// the blocked signals); onStop runs on the watcher thread and must only hand work over.
#include <csignal>
#include <functional>
#include <thread>

namespace tintal {

class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // Starts waiting; onStop runs once, on the first of these signals or at stop().
    void watch(std::function<void()> onStop);
    // Ends the wait with a signal of our own when none came, and joins the watcher: call it before
    // what onStop refers to goes.
    void stop();

private:
    sigset_t signals_{};
    std::thread watcher_;
};

}  // namespace tintal
