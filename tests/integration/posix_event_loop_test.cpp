#include "platform/posix/posix_event_loop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <iterator>
#include <stdexcept>
#include <thread>
#include <vector>

#include "base/date_time.h"

namespace tintal {
namespace {

// Ends a run() that would otherwise hang when the behaviour under test is broken.
constexpr int kWatchdogMs = 10000;

double localDateTimeOf(time_t t) {
    tm local{};
    localtime_r(&t, &local);
    return encodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                          std::min(local.tm_sec, 59));
}

TEST(PosixEventLoop, TimersKeepTheirCadenceWithoutCatchUpBursts) {
    PosixEventLoop loop;
    // Deadlines are spaced by at least one interval, so 500 ms hold at most 25 calls of a 20 ms timer.
    int ticks = 0;
    loop.startTimer(20, [&] { ++ticks; });
    loop.pump(500);
    EXPECT_GE(ticks, 5);
    EXPECT_LE(ticks, 25);

    // A handler that lags 200 ms on a 10 ms timer gets one late call, not the 20 it missed.
    PosixEventLoop lagging;
    int calls = 0;
    lagging.startTimer(10, [&] {
        if (++calls == 1) std::this_thread::sleep_for(std::chrono::milliseconds(200));
    });
    lagging.pump(300);
    EXPECT_GE(calls, 2);
    EXPECT_LE(calls, 16);  // catching up would make it about 30

    // processPending fires a timer that is several intervals late exactly once.
    PosixEventLoop late;
    int lateCalls = 0;
    late.startTimer(5, [&] { ++lateCalls; });
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    late.processPending();
    EXPECT_EQ(lateCalls, 1);
}

TEST(PosixEventLoop, StopTimerEndsCallsEvenFromInsideTheHandler) {
    PosixEventLoop loop;
    int calls = 0;
    EventLoop::TimerId id = 0;
    id = loop.startTimer(5, [&] {
        if (++calls == 3) {
            loop.stopTimer(id);
            loop.pump(30);  // a nested wait must not fire the stopped timer again
        }
    });
    EXPECT_NE(id, 0);
    int other = 0;
    const EventLoop::TimerId otherId = loop.startTimer(5, [&] { ++other; });
    EXPECT_NE(otherId, id);
    loop.pump(150);
    EXPECT_EQ(calls, 3);
    EXPECT_GT(other, 0);

    loop.stopTimer(otherId);
    const int otherBefore = other;
    loop.stopTimer(otherId);  // already stopped, unknown and zero ids are ignored
    loop.stopTimer(12345);
    loop.stopTimer(0);
    loop.pump(30);
    EXPECT_EQ(other, otherBefore);
}

TEST(PosixEventLoop, NestedPumpReentersTheTimerThatIsWaiting) {
    PosixEventLoop loop;
    int ticks = 0, depth = 0, deepest = 0;
    loop.startTimer(10, [&] {
        ++ticks;
        ++depth;
        deepest = std::max(deepest, depth);
        if (ticks == 1) loop.pump(100);
        --depth;
    });
    loop.pump(150);
    EXPECT_EQ(deepest, 2);  // the handler ran again while its first call was pumping
    EXPECT_GE(ticks, 3);
    EXPECT_EQ(depth, 0);

    // Two timers due in the same pass: the first pumps, the second fires inside that pump and
    // must not be called again by the outer pass once the pump returns.
    PosixEventLoop pair;
    int first = 0, secondInside = 0, secondAfter = 0;
    bool firstReturned = false;
    pair.startTimer(10, [&] {
        if (++first == 1) {
            pair.pump(30);
            firstReturned = true;
        }
    });
    pair.startTimer(10, [&] { ++(firstReturned ? secondAfter : secondInside); });
    std::this_thread::sleep_for(std::chrono::milliseconds(15));
    pair.processPending();
    EXPECT_TRUE(firstReturned);
    EXPECT_GT(secondInside, 0);
    EXPECT_EQ(secondAfter, 0);
}

TEST(PosixEventLoop, PostsFromManyThreadsAllArriveInOrderOnTheLoopThread) {
    constexpr int kThreads = 4, kPerThread = 1000;
    PosixEventLoop loop;
    const auto loopThread = std::this_thread::get_id();
    std::vector<std::vector<int>> seen(kThreads);
    int total = 0, offThread = 0;

    std::vector<std::thread> posters;
    for (int t = 0; t < kThreads; ++t) {
        posters.emplace_back([&, t] {
            for (int i = 0; i < kPerThread; ++i) {
                loop.post([&, t, i] {
                    if (std::this_thread::get_id() != loopThread) ++offThread;
                    seen[t].push_back(i);
                    if (++total == kThreads * kPerThread) loop.quit();
                });
            }
        });
    }
    loop.startTimer(kWatchdogMs, [&] { loop.quit(); });
    loop.run();
    for (auto& p : posters) p.join();

    EXPECT_EQ(total, kThreads * kPerThread);
    EXPECT_EQ(offThread, 0);
    for (int t = 0; t < kThreads; ++t) {
        ASSERT_EQ(seen[t].size(), static_cast<std::size_t>(kPerThread)) << "thread " << t;
        EXPECT_TRUE(std::is_sorted(seen[t].begin(), seen[t].end())) << "thread " << t;
    }
}

TEST(PosixEventLoop, PumpWaitsItsFullTimeWhileDispatching) {
    PosixEventLoop loop;
    const std::int64_t start = loop.monotonicMs();
    std::int64_t ranAt = -1;
    std::thread poster([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        loop.post([&] { ranAt = loop.monotonicMs(); });
    });
    loop.pump(200);
    poster.join();
    EXPECT_GE(loop.monotonicMs() - start, 200);
    ASSERT_GE(ranAt, 0);
    EXPECT_LT(ranAt - start, 200);  // the post woke the wait instead of waiting for its end

    // A quit() inside a pump belongs to run(): the pump still waits its time.
    loop.post([&] { loop.quit(); });
    const std::int64_t again = loop.monotonicMs();
    loop.pump(50);
    EXPECT_GE(loop.monotonicMs() - again, 50);

    // pump(0) and negative times dispatch once without waiting for anything.
    int quick = 0;
    loop.post([&] { ++quick; });
    loop.pump(0);
    loop.post([&] { ++quick; });
    loop.pump(-5);
    EXPECT_EQ(quick, 2);
}

TEST(PosixEventLoop, QuitEndsRunFromAPostOrAfterNestedPumpsUnwind) {
    PosixEventLoop loop;
    const auto watchdog = loop.startTimer(kWatchdogMs, [&] { FAIL() << "quit() did not end run()"; });
    std::thread poster([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        loop.post([&] { loop.quit(); });
    });
    loop.run();
    poster.join();

    // quit() made deep inside a pump ends run() only after that pump has finished its wait.
    bool pumpFinished = false, ranAfterQuit = false;
    std::int64_t pumped = 0;
    loop.post([&] {
        loop.post([&] {
            loop.post([&] { loop.quit(); });
            loop.pump(20);
        });
        const std::int64_t start = loop.monotonicMs();
        loop.pump(60);
        pumped = loop.monotonicMs() - start;
        pumpFinished = true;
        loop.post([&] { ranAfterQuit = true; });
    });
    loop.run();
    EXPECT_TRUE(pumpFinished);
    EXPECT_GE(pumped, 60);
    EXPECT_FALSE(ranAfterQuit);

    // The quit was consumed: the next run() keeps going until it is asked again.
    int ticks = 0;
    loop.startTimer(5, [&] {
        if (++ticks == 3) loop.quit();
    });
    loop.run();
    EXPECT_EQ(ticks, 3);
    EXPECT_TRUE(ranAfterQuit);
    loop.stopTimer(watchdog);
}

TEST(PosixEventLoop, ProcessPendingRunsQueuedWorkWithoutWaiting) {
    PosixEventLoop loop;
    loop.startTimer(5000, [] {});
    std::vector<int> order;
    loop.post([&] { order.push_back(1); });
    loop.post([&] { order.push_back(2); });
    const std::int64_t start = loop.monotonicMs();
    loop.processPending();
    EXPECT_LT(loop.monotonicMs() - start, 2500);  // a pending timer is no reason to wait
    EXPECT_EQ(order, (std::vector<int>{1, 2}));

    // Work posted by a task waits for the next pass, so a task that re-posts itself cannot hang it.
    int reposts = 0;
    std::function<void()> again = [&] {
        ++reposts;
        loop.post(again);
    };
    loop.post(again);
    loop.processPending();
    EXPECT_EQ(reposts, 1);
    loop.processPending();
    EXPECT_EQ(reposts, 2);
}

TEST(PosixEventLoop, ExceptionsPropagateAndTheLoopStaysUsable) {
    PosixEventLoop loop;
    bool after = false;
    loop.post([] { throw std::runtime_error("task"); });
    loop.post([&] { after = true; });
    EXPECT_THROW(loop.processPending(), std::runtime_error);
    EXPECT_FALSE(after);
    loop.processPending();
    EXPECT_TRUE(after);

    int calls = 0;
    loop.startTimer(5, [&] {
        if (++calls == 1) throw std::runtime_error("timer");
    });
    EXPECT_THROW(loop.pump(100), std::runtime_error);
    loop.pump(50);
    EXPECT_GE(calls, 2);  // the throwing timer was rescheduled before its call
}

TEST(PosixEventLoop, ClocksReadTheSystemTime) {
    PosixEventLoop loop;
    const time_t before = time(nullptr);
    const double now = loop.localNow();
    const time_t after = time(nullptr);
    EXPECT_GE(now, localDateTimeOf(before));
    EXPECT_LT(now, localDateTimeOf(after) + 1000.0 / kMsPerDay);

    // Milliseconds are part of the reading: a few samples apart cannot all fall on a whole second.
    bool sawMilliseconds = false;
    for (int i = 0; i < 8 && !sawMilliseconds; ++i) {
        sawMilliseconds = decodeDateTime(loop.localNow()).millisecond != 0;
        loop.pump(7);
    }
    EXPECT_TRUE(sawMilliseconds);

    std::int64_t previous = loop.monotonicMs();
    for (int i = 0; i < 10000; ++i) {
        const std::int64_t current = loop.monotonicMs();
        ASSERT_GE(current, previous);
        previous = current;
    }
    loop.pump(20);
    EXPECT_GE(loop.monotonicMs() - previous, 20);
}

TEST(PosixEventLoop, DestructionReleasesItsDescriptors) {
    namespace fs = std::filesystem;
    const auto openDescriptors = [] {
        return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator{});
    };
    const auto before = openDescriptors();
    for (int i = 0; i < 20; ++i) {
        PosixEventLoop loop;
        loop.startTimer(1, [] {});
        loop.post([] {});
        loop.pump(2);
    }
    EXPECT_EQ(openDescriptors(), before);
}

}  // namespace
}  // namespace tintal
