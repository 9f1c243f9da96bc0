#pragma once
// An event loop on virtual time: time moves only when the owner advances it, and due work runs
// in a fixed order (posted work first, then timers by due instant, then by when they were set).
// Used by the tests and by the program's headless runs (dry runs and renders to a file).
#include <cstdint>

#include "platform/queued_event_loop.h"

namespace tintal {

class VirtualEventLoop : public QueuedEventLoop {
public:
    explicit VirtualEventLoop(double localStart);

    double localNow() const override;
    void processPending() override;
    void pump(int ms) override { advance(ms); }
    // Runs until quit(), jumping from one due instant to the next; returns early when nothing is left to run.
    void run() override;

    // Moves time forward by ms, running everything that falls due on the way.
    void advance(std::int64_t ms);
    // Advances in steps of stepMs until done() holds or limitMs have passed; returns done().
    template <typename Predicate>
    bool advanceUntil(Predicate done, std::int64_t limitMs, std::int64_t stepMs = 10) {
        for (std::int64_t elapsed = 0; !done() && elapsed < limitMs; elapsed += stepMs) advance(stepMs);
        return done();
    }
    // Sets the wall clock (as a user or a time server would); the monotonic clock does not move.
    void setLocalNow(double localNow);
    std::size_t activeTimers() const { return timers_.size(); }

private:
    // Fires the earliest timer due at or before limit, time moving to its deadline; false when none is.
    bool fireNextTimer(std::int64_t limit);
    // Posted work first, then each due timer followed by the work it posted.
    void runDue(std::int64_t limit);

    std::int64_t nowMs_ = 0;
    double localOffset_;
};

}  // namespace tintal
