#include "platform/queued_event_loop.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace tintal {
namespace {

constexpr std::int64_t kTicksPerMs = 1000;  // µs, as on Windows

// A loop on a hand-moved clock that records what the shared code asks of it.
class ManualLoop : public QueuedEventLoop {
public:
    ManualLoop() : QueuedEventLoop([this] { return nowTicks; }, kTicksPerMs) {}

    double localNow() const override { return 0; }
    void processPending() override { dispatchPass(); }
    void pump(int ms) override {
        nowTicks += ms * kTicksPerMs;
        dispatchPass();
    }
    void run() override {}
    std::int64_t nextWake(std::int64_t until) const { return wakeDeadline(until); }

    std::int64_t nowTicks = 0;
    int wakes = 0;
    std::vector<std::int64_t> deadlinesSeen;  // the nearest deadline at each timersChanged(); -1: none

private:
    void wake() override { ++wakes; }
    void timersChanged() override { deadlinesSeen.push_back(wakeDeadline(-1)); }
};

TEST(QueuedEventLoop, TimersCountInTheLoopsOwnTicks) {
    ManualLoop loop;
    loop.nowTicks = 2'500;
    EXPECT_EQ(loop.monotonicMs(), 2);
    int fired = 0;
    loop.startTimer(5, [&] { ++fired; });
    EXPECT_EQ(loop.deadlinesSeen, (std::vector<std::int64_t>{7'500}));
    loop.nowTicks = 7'499;
    loop.processPending();
    EXPECT_EQ(fired, 0);
    loop.pump(1);
    EXPECT_EQ(fired, 1);
    // A zero interval counts as one millisecond, not as a timer due at every pass.
    loop.startTimer(0, [] {});
    EXPECT_EQ(loop.deadlinesSeen.back(), 9'499);
}

TEST(QueuedEventLoop, TheWakeDeadlineIsTheEarlierOfTheCallersAndTheNextTimers) {
    ManualLoop loop;
    EXPECT_EQ(loop.nextWake(-1), -1);
    EXPECT_EQ(loop.nextWake(4'000), 4'000);
    const auto id = loop.startTimer(3, [] {});
    EXPECT_EQ(loop.nextWake(-1), 3'000);
    EXPECT_EQ(loop.nextWake(4'000), 3'000);
    EXPECT_EQ(loop.nextWake(2'000), 2'000);
    loop.stopTimer(id);
    EXPECT_EQ(loop.nextWake(-1), -1);
}

TEST(QueuedEventLoop, PostWakesTheLoopForEachTaskItQueuesOnly) {
    ManualLoop loop;
    std::string trace;
    loop.post([&] { trace += 'a'; });
    loop.post({});  // dropped: nothing to wake for
    loop.post([&] { trace += 'b'; });
    EXPECT_EQ(loop.wakes, 2);
    EXPECT_EQ(trace, "");
    loop.processPending();
    EXPECT_EQ(trace, "ab");
}

TEST(QueuedEventLoop, APassThatThrowsStillReportsTheTimersItMoved) {
    ManualLoop loop;
    loop.startTimer(1, [] { throw std::runtime_error("handler"); });
    loop.startTimer(10, [] {});
    loop.nowTicks = 1'000;
    loop.deadlinesSeen.clear();
    EXPECT_THROW(loop.processPending(), std::runtime_error);
    // The throwing timer was re-armed before it ran; a system timer must follow it there.
    EXPECT_EQ(loop.deadlinesSeen, (std::vector<std::int64_t>{2'000}));
}

}  // namespace
}  // namespace tintal
