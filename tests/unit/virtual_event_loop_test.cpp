#include "platform/virtual_event_loop.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "base/date_time.h"

namespace tintal {
namespace {

TEST(VirtualEventLoop, TimersFireInDueOrderAndPostedWorkFirst) {
    VirtualEventLoop loop(encodeDateTime(2026, 12, 1, 21, 0));
    std::string trace;
    loop.startTimer(300, [&] { trace += 'a'; });
    loop.startTimer(200, [&] { trace += 'b'; });
    loop.post([&] { trace += 'p'; });
    loop.advance(600);
    // b@200 a@300 b@400, then at 600 a before b: a was rescheduled first.
    EXPECT_EQ(trace, "pbabab");
}

TEST(VirtualEventLoop, NestedPumpReentersTimersAndTimeOnlyMovesForward) {
    VirtualEventLoop loop(0);
    int ticks = 0, depthMax = 0, depth = 0;
    loop.startTimer(100, [&] {
        ++ticks;
        ++depth;
        depthMax = std::max(depthMax, depth);
        if (ticks == 1) loop.pump(350);  // the tick fires again inside its own handler's wait
        --depth;
    });
    loop.advance(100);
    EXPECT_EQ(loop.monotonicMs(), 450);
    EXPECT_EQ(ticks, 4);
    EXPECT_EQ(depthMax, 2);
}

TEST(VirtualEventLoop, StopInsideHandlerAndWallClock) {
    VirtualEventLoop loop(encodeDateTime(2026, 12, 1, 23, 59, 59));
    int fired = 0;
    EventLoop::TimerId id = 0;
    id = loop.startTimer(10, [&] {
        ++fired;
        loop.stopTimer(id);
    });
    loop.advance(1000);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(decodeDateTime(loop.localNow()).day, 2);  // midnight passed in virtual time
    loop.setLocalNow(encodeDateTime(2026, 6, 1, 12, 0));
    EXPECT_EQ(loop.monotonicMs(), 1000);  // setting the wall clock leaves the monotonic one alone
    EXPECT_EQ(decodeDateTime(loop.localNow()).month, 6);
}

TEST(VirtualEventLoop, PostFromOtherThreadsAndRunUntilQuit) {
    VirtualEventLoop loop(0);
    std::vector<int> seen;
    std::thread t([&] {
        for (int i = 0; i < 100; ++i) loop.post([&seen, i] { seen.push_back(i); });
    });
    t.join();
    loop.startTimer(1000, [&] { loop.quit(); });
    loop.run();
    ASSERT_EQ(seen.size(), 100u);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(seen[i], i);
    EXPECT_EQ(loop.monotonicMs(), 1000);
}

}  // namespace
}  // namespace tintal
