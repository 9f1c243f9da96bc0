#pragma once
// The EventLoop contract, written once and run against every loop a test program can build.
//
// An instantiation file specialises LoopTraits<Loop> (make() and, where the system keeps state
// between loops, tidy()) and then instantiates:
// - EventLoopContract: what every loop guarantees, virtual time included;
// - RealTimeEventLoopContract: what a loop on the system's clock adds (other threads, real waits,
//   the one-pass batches).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

#include "base/date_time.h"
#include "platform/event_loop.h"

namespace tintal::contracts {

template <typename Loop>
struct LoopTraits;  // static std::unique_ptr<Loop> make(); static void tidy();

// Ends a run() that would otherwise hang when the behaviour under test is broken.
inline constexpr int kWatchdogMs = 10000;

template <typename Loop>
class EventLoopContract : public ::testing::Test {
protected:
    void TearDown() override { LoopTraits<Loop>::tidy(); }
    static std::unique_ptr<Loop> make() { return LoopTraits<Loop>::make(); }
};

TYPED_TEST_SUITE_P(EventLoopContract);

TYPED_TEST_P(EventLoopContract, StopTimerEndsCallsEvenFromInsideTheHandler) {
    auto made = this->make();
    EventLoop& loop = *made;
    int calls = 0;
    EventLoop::TimerId id = 0;
    id = loop.startTimer(5, [&] {
        if (++calls == 3) {
            loop.stopTimer(id);
            loop.pump(40);  // a nested wait must not fire the stopped timer again
        }
    });
    EXPECT_NE(id, 0);
    int other = 0;
    const EventLoop::TimerId otherId = loop.startTimer(5, [&] { ++other; });
    EXPECT_NE(otherId, id);
    EXPECT_NE(otherId, 0);
    loop.pump(150);
    EXPECT_EQ(calls, 3);
    EXPECT_GT(other, 0);

    loop.stopTimer(otherId);
    const int otherBefore = other;
    loop.stopTimer(otherId);  // already stopped, unknown and zero ids are ignored
    loop.stopTimer(12345);
    loop.stopTimer(0);
    loop.pump(40);
    EXPECT_EQ(other, otherBefore);
}

TYPED_TEST_P(EventLoopContract, ATimerStoppedByAnEarlierHandlerOfTheSamePassDoesNotFire) {
    auto made = this->make();
    EventLoop& loop = *made;
    int secondCalls = 0;
    EventLoop::TimerId second = 0;
    loop.startTimer(10, [&] { loop.stopTimer(second); });
    second = loop.startTimer(10, [&] { ++secondCalls; });
    loop.pump(100);
    EXPECT_EQ(secondCalls, 0);
}

TYPED_TEST_P(EventLoopContract, NestedPumpReentersTheTimerThatIsWaiting) {
    auto made = this->make();
    EventLoop& loop = *made;
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
}

TYPED_TEST_P(EventLoopContract, PumpWaitsItsFullTimeWhateverQuitSays) {
    auto made = this->make();
    EventLoop& loop = *made;
    // A quit() inside a pump belongs to run(): the pump still waits its time.
    loop.post([&] { loop.quit(); });
    const std::int64_t start = loop.monotonicMs();
    loop.pump(50);
    EXPECT_GE(loop.monotonicMs() - start, 50);

    // pump(0) and negative times dispatch once without waiting for anything.
    int quick = 0;
    loop.post([&] { ++quick; });
    loop.pump(0);
    loop.post([&] { ++quick; });
    loop.pump(-5);
    EXPECT_EQ(quick, 2);
}

TYPED_TEST_P(EventLoopContract, ProcessPendingRunsQueuedWorkInOrderWithoutWaiting) {
    auto made = this->make();
    EventLoop& loop = *made;
    int longTimer = 0;
    loop.startTimer(5000, [&] { ++longTimer; });
    std::vector<int> order;
    loop.post([&] { order.push_back(1); });
    loop.post(nullptr);  // an empty task is dropped, not called
    loop.post([&] { order.push_back(2); });
    const std::int64_t start = loop.monotonicMs();
    loop.processPending();
    EXPECT_LT(loop.monotonicMs() - start, 2500);  // a pending timer is no reason to wait
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    EXPECT_EQ(longTimer, 0);
}

TYPED_TEST_P(EventLoopContract, ExceptionsPropagateAndTheLoopStaysUsable) {
    auto made = this->make();
    EventLoop& loop = *made;
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

    // run() lets one out too, and the next run() is usable.
    loop.post([] { throw std::runtime_error("in run"); });
    EXPECT_THROW(loop.run(), std::runtime_error);
    loop.post([&] { loop.quit(); });
    loop.run();
}

TYPED_TEST_P(EventLoopContract, TheMonotonicClockNeverGoesBackAndPumpMovesIt) {
    auto made = this->make();
    EventLoop& loop = *made;
    std::int64_t previous = loop.monotonicMs();
    for (int i = 0; i < 10000; ++i) {
        const std::int64_t current = loop.monotonicMs();
        ASSERT_GE(current, previous);
        previous = current;
    }
    loop.pump(20);
    EXPECT_GE(loop.monotonicMs() - previous, 20);
}

REGISTER_TYPED_TEST_SUITE_P(EventLoopContract, StopTimerEndsCallsEvenFromInsideTheHandler,
                            ATimerStoppedByAnEarlierHandlerOfTheSamePassDoesNotFire,
                            NestedPumpReentersTheTimerThatIsWaiting, PumpWaitsItsFullTimeWhateverQuitSays,
                            ProcessPendingRunsQueuedWorkInOrderWithoutWaiting, ExceptionsPropagateAndTheLoopStaysUsable,
                            TheMonotonicClockNeverGoesBackAndPumpMovesIt);

template <typename Loop>
class RealTimeEventLoopContract : public EventLoopContract<Loop> {};

TYPED_TEST_SUITE_P(RealTimeEventLoopContract);

inline void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

TYPED_TEST_P(RealTimeEventLoopContract, TimersKeepTheirCadenceWithoutCatchUpBursts) {
    auto made = this->make();
    EventLoop& loop = *made;
    // Deadlines are spaced by at least one interval, so 300 ms hold at most 15 calls of a 20 ms timer.
    int ticks = 0;
    loop.startTimer(20, [&] { ++ticks; });
    loop.pump(300);
    EXPECT_GE(ticks, 5);
    EXPECT_LE(ticks, 15);

    // A handler that lags 200 ms on a 10 ms timer gets one late call, not the 20 it missed.
    auto lagging = this->make();
    int calls = 0;
    lagging->startTimer(10, [&] {
        if (++calls == 1) sleepMs(200);
    });
    lagging->pump(300);
    EXPECT_GE(calls, 2);
    EXPECT_LE(calls, 16);  // catching up would make it about 30

    // processPending fires a timer that is several intervals late exactly once.
    auto late = this->make();
    int lateCalls = 0;
    late->startTimer(5, [&] { ++lateCalls; });
    sleepMs(30);
    late->processPending();
    EXPECT_EQ(lateCalls, 1);
}

TYPED_TEST_P(RealTimeEventLoopContract, ATimerFiredByANestedPumpIsNotFiredAgainByTheOuterPass) {
    // Two timers due in the same pass: the first pumps, the second fires inside that pump and
    // must not be called again by the outer pass once the pump returns.
    auto made = this->make();
    EventLoop& pair = *made;
    int first = 0, secondInside = 0, secondAfter = 0;
    bool firstReturned = false;
    pair.startTimer(10, [&] {
        if (++first == 1) {
            pair.pump(30);
            firstReturned = true;
        }
    });
    pair.startTimer(10, [&] { ++(firstReturned ? secondAfter : secondInside); });
    sleepMs(15);
    pair.processPending();
    EXPECT_TRUE(firstReturned);
    EXPECT_GT(secondInside, 0);
    EXPECT_EQ(secondAfter, 0);

    // The same when the pump ran the second one more than once: the deadline it used up is gone.
    auto other = this->make();
    EventLoop& both = *other;
    bool firstPumping = false, pumpReturned = false;
    int secondCalls = 0, staleCalls = 0;
    both.startTimer(10, [&] {
        if (firstPumping || pumpReturned) return;
        firstPumping = true;
        both.pump(35);
        firstPumping = false;
        pumpReturned = true;
        both.post([&] { pumpReturned = false; });  // runs at the start of the next pass
    });
    both.startTimer(10, [&] {
        ++secondCalls;
        if (pumpReturned) ++staleCalls;
    });
    sleepMs(20);  // both overdue when the pass starts
    both.processPending();
    EXPECT_GE(secondCalls, 2);
    EXPECT_EQ(staleCalls, 0);
}

TYPED_TEST_P(RealTimeEventLoopContract, PostsFromManyThreadsAllArriveInOrderOnTheLoopThread) {
    constexpr int kThreads = 4, kPerThread = 500;
    auto made = this->make();
    EventLoop& loop = *made;
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

TYPED_TEST_P(RealTimeEventLoopContract, APostWakesAPumpThatKeepsItsTimersGoing) {
    auto made = this->make();
    EventLoop& loop = *made;
    const std::int64_t start = loop.monotonicMs();
    std::int64_t ranAt = -1;
    int ticks = 0;
    loop.startTimer(25, [&] { ++ticks; });
    std::thread poster([&] {
        sleepMs(20);
        loop.post([&] { ranAt = loop.monotonicMs(); });
    });
    loop.pump(200);
    poster.join();
    EXPECT_GE(loop.monotonicMs() - start, 200);
    ASSERT_GE(ranAt, 0);
    EXPECT_LT(ranAt - start, 150);  // the post woke the wait instead of waiting for its end
    EXPECT_GE(ticks, 3);
    EXPECT_LE(ticks, 8);
}

TYPED_TEST_P(RealTimeEventLoopContract, QuitEndsRunFromAPostOrAfterNestedPumpsUnwind) {
    auto made = this->make();
    EventLoop& loop = *made;
    const auto watchdog = loop.startTimer(kWatchdogMs, [&] {
        ADD_FAILURE() << "quit() did not end run()";
        loop.quit();
    });
    std::thread poster([&] {
        sleepMs(20);
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

    // A quit() made outside run() makes the next one return at once.
    loop.quit();
    const std::int64_t before = loop.monotonicMs();
    loop.run();
    EXPECT_LT(loop.monotonicMs() - before, 1000);
    loop.stopTimer(watchdog);
}

TYPED_TEST_P(RealTimeEventLoopContract, WorkARunningTaskPostsWaitsForTheNextPass) {
    auto made = this->make();
    EventLoop& loop = *made;
    // So a task that re-posts itself cannot hang processPending()...
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

    // ...nor starve a timer that falls due meanwhile.
    int ticks = 0;
    loop.startTimer(10, [&] { ++ticks; });
    loop.pump(100);
    EXPECT_GE(ticks, 3);
    EXPECT_GE(reposts, 4);
}

TYPED_TEST_P(RealTimeEventLoopContract, LocalTimeCarriesMilliseconds) {
    auto made = this->make();
    EventLoop& loop = *made;
    // A few samples apart cannot all fall on a whole second.
    bool sawMilliseconds = false;
    for (int i = 0; i < 8 && !sawMilliseconds; ++i) {
        sawMilliseconds = decodeDateTime(loop.localNow()).millisecond != 0;
        loop.pump(7);
    }
    EXPECT_TRUE(sawMilliseconds);
}

REGISTER_TYPED_TEST_SUITE_P(RealTimeEventLoopContract, TimersKeepTheirCadenceWithoutCatchUpBursts,
                            ATimerFiredByANestedPumpIsNotFiredAgainByTheOuterPass,
                            PostsFromManyThreadsAllArriveInOrderOnTheLoopThread, APostWakesAPumpThatKeepsItsTimersGoing,
                            QuitEndsRunFromAPostOrAfterNestedPumpsUnwind, WorkARunningTaskPostsWaitsForTheNextPass,
                            LocalTimeCarriesMilliseconds);

}  // namespace tintal::contracts
