#pragma once
// The CompanionChannel contract, written once and run against every channel a test program can build.
//
// An instantiation file specialises CompanionTraits<Channel> with:
// - struct Session: named objects private to one test; std::unique_ptr<CompanionChannel> channel()
//   makes a channel on them (two channels of one session are the clock and the companion);
// and, for the channels that meet other processes, also:
// - std::string Session::suffix(), the name suffix of its objects;
// - using Peer: the companion peer of tests/peers as a process, made from its arguments, with
//   nextLine(), lines and exitStatus(timeoutMs).
// Then it instantiates CompanionChannelContract and, for the real channels, CrossProcessCompanionContract.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/companion_channel.h"
#include "radio/companion_message.h"

namespace tintal::contracts {

template <typename Channel>
struct CompanionTraits;

using CompanionClock = std::chrono::steady_clock;
using Wake = CompanionChannel::Wake;

inline long long msSince(CompanionClock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(CompanionClock::now() - start).count();
}

inline std::string received(CompanionChannel& channel) {
    CompanionBlock block;
    return channel.read(block) ? decodeCompanionMessage(block).text : "(read failed)";
}

template <typename Channel>
class CompanionChannelContract : public ::testing::Test {
protected:
    using Traits = CompanionTraits<Channel>;
    std::unique_ptr<CompanionChannel> opened() {
        auto channel = session.channel();
        EXPECT_TRUE(channel->open());
        return channel;
    }
    typename Traits::Session session;
};

TYPED_TEST_SUITE_P(CompanionChannelContract);

TYPED_TEST_P(CompanionChannelContract, APulseWakesTheOtherEndOnceAndIsLostWhenNobodyWaits) {
    auto clock = this->opened();
    auto companion = this->opened();

    // Nobody waits: the text is written, the pulse is gone.
    ASSERT_TRUE(clock->send(encodeCompanionMessage("unheard")));
    EXPECT_EQ(companion->waitForPulse(50), Wake::TimedOut);
    EXPECT_EQ(received(*companion), "unheard");

    // A waiter wakes for the next one, reads it, and does not wake again for the same pulse.
    auto wake = std::async(std::launch::async, [&] { return companion->waitForPulse(10000); });
    std::future_status status = std::future_status::timeout;
    for (int tries = 0; tries < 100 && status != std::future_status::ready; ++tries) {
        ASSERT_TRUE(clock->send(encodeCompanionMessage(kTintalConnected)));
        status = wake.wait_for(std::chrono::milliseconds(50));  // until it waits, the pulse is lost
    }
    EXPECT_EQ(wake.get(), Wake::Pulsed);
    EXPECT_EQ(received(*companion), "TINTAL connecté");  // through Windows-1252 and back
    EXPECT_EQ(companion->waitForPulse(50), Wake::TimedOut);
}

TYPED_TEST_P(CompanionChannelContract, AMutexHeldByAnotherThreadMakesTheLockWaitThenTimeOut) {
    auto clock = this->opened();
    auto companion = this->opened();
    std::promise<void> holding, release;
    std::thread holder([&] {
        ASSERT_EQ(companion->lockMutex(1000), MutexWait::Acquired);
        holding.set_value();
        release.get_future().wait();
        companion->unlockMutex();
    });
    holding.get_future().wait();
    const auto start = CompanionClock::now();
    EXPECT_EQ(clock->lockMutex(200), MutexWait::TimedOut);
    EXPECT_GE(msSince(start), 150);
    release.set_value();
    holder.join();

    // Once let go, it is ours at once.
    const auto again = CompanionClock::now();
    EXPECT_EQ(clock->lockMutex(500), MutexWait::Acquired);
    EXPECT_LT(msSince(again), 500);
    clock->unlockMutex();
}

TYPED_TEST_P(CompanionChannelContract, NudgeEndsAReleaseAndWaitOnce) {
    auto clock = this->opened();
    auto wake = std::async(std::launch::async, [&] {
        if (clock->lockMutex(1000) == MutexWait::TimedOut) return Wake::Failed;
        return clock->releaseAndWait(10000);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto start = CompanionClock::now();
    clock->nudge();
    EXPECT_EQ(wake.get(), Wake::Nudged);
    EXPECT_LT(msSince(start), 1000);
    // The mutex was given back by the waiting thread.
    EXPECT_EQ(clock->lockMutex(0), MutexWait::Acquired);
    clock->unlockMutex();
    EXPECT_EQ(clock->waitForPulse(50), Wake::TimedOut);
    clock->nudge();
    EXPECT_EQ(clock->waitForPulse(5000), Wake::Nudged);  // a nudge before the wait is kept for it
    EXPECT_EQ(clock->waitForPulse(20), Wake::TimedOut);  // and ends that wait only
}

TYPED_TEST_P(CompanionChannelContract, InterruptEndsOurWaitsUntilTheNextOpenAndWakesNoPeer) {
    auto clock = this->opened();
    auto companion = this->opened();
    // A long wait rather than none, so that a broken interrupt fails the test instead of hanging it.
    auto ours = std::async(std::launch::async, [&] { return clock->waitForPulse(10000); });
    auto theirs = std::async(std::launch::async, [&] { return companion->waitForPulse(500); });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto start = CompanionClock::now();
    clock->interrupt();
    EXPECT_EQ(ours.get(), Wake::Interrupted);
    EXPECT_LT(msSince(start), 1000);
    EXPECT_EQ(theirs.get(), Wake::TimedOut);                  // the shared event was not touched
    EXPECT_EQ(clock->waitForPulse(1000), Wake::Interrupted);  // at once, until the next open

    clock->close();
    EXPECT_FALSE(clock->isOpen());
    EXPECT_EQ(clock->waitForPulse(0), Wake::Failed);
    ASSERT_TRUE(clock->open());
    EXPECT_EQ(clock->waitForPulse(10), Wake::TimedOut);
}

TYPED_TEST_P(CompanionChannelContract, AClosedChannelOrAnOversizedMessageGivesTheViewErrors) {
    auto closed = this->session.channel();
    CompanionBlock block;
    EXPECT_EQ(closed->send(encodeCompanionMessage(kTintalDone)).error, kCompanionWriteViewError);
    EXPECT_EQ(closed->read(block).error, kCompanionReadViewError);
    EXPECT_EQ(closed->waitForPulse(0), Wake::Failed);

    auto clock = this->opened();
    auto companion = this->opened();
    ASSERT_TRUE(clock->send(encodeCompanionMessage("kept")));
    auto wake = std::async(std::launch::async, [&] { return companion->waitForPulse(300); });
    const std::vector<std::uint8_t> tooLong(kCompanionBlockSize + 1, 'x');
    const CompanionStatus status = clock->send(tooLong);
    EXPECT_FALSE(status);
    EXPECT_EQ(status.error, kCompanionWriteViewError);
    EXPECT_EQ(wake.get(), Wake::TimedOut);  // refused: nothing written, no pulse
    EXPECT_EQ(received(*companion), "kept");
    // A message that fills the block exactly goes through.
    EXPECT_TRUE(clock->send(std::vector<std::uint8_t>(kCompanionBlockSize, 0)));
}

REGISTER_TYPED_TEST_SUITE_P(CompanionChannelContract, APulseWakesTheOtherEndOnceAndIsLostWhenNobodyWaits,
                            AMutexHeldByAnotherThreadMakesTheLockWaitThenTimeOut, NudgeEndsAReleaseAndWaitOnce,
                            InterruptEndsOurWaitsUntilTheNextOpenAndWakesNoPeer,
                            AClosedChannelOrAnOversizedMessageGivesTheViewErrors);

// With the companion peer of tests/peers as a process of its own.
template <typename Channel>
class CrossProcessCompanionContract : public CompanionChannelContract<Channel> {
protected:
    using Traits = CompanionTraits<Channel>;
    auto peer(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--suffix", this->session.suffix()});
        return std::make_unique<typename Traits::Peer>(arguments);
    }
};

TYPED_TEST_SUITE_P(CrossProcessCompanionContract);

TYPED_TEST_P(CrossProcessCompanionContract, ACompanionInAnotherProcessAsksAndIsAnswered) {
    ASSERT_TRUE(this->session.channel()->open());  // so that both ends find the objects made

    // The test plays the clock's listener: answers HELLO, then PLAY with DONE.
    auto clock = std::async(std::launch::async, [&] {
        auto channel = this->session.channel();
        std::vector<std::string> heard;
        if (!channel->open()) return heard;
        const auto start = CompanionClock::now();
        while (msSince(start) < 20000) {
            if (channel->waitForPulse(200) != Wake::Pulsed) continue;
            const std::string text = received(*channel);
            heard.push_back(text);
            const CompanionRequests asked = companionRequests(text);
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            if (asked.hello) channel->send(encodeCompanionMessage(kTintalReady));
            if (asked.play) {
                channel->send(encodeCompanionMessage(kTintalDone));
                break;
            }
        }
        return heard;
    });

    auto peer = this->peer({"--timeout", "20000"});
    ASSERT_TRUE(peer->started());
    EXPECT_EQ(peer->exitStatus(30000), 0);
    const std::vector<std::string> heard = clock.get();

    ASSERT_GE(heard.size(), 2u);
    EXPECT_EQ(heard.front(), "TINTAL_HELLO");
    EXPECT_EQ(heard.back(), "TINTAL_PLAY");
    // The peer may say HELLO again if its first one went out before the clock listened.
    ASSERT_GE(peer->lines.size(), 4u);
    EXPECT_EQ(peer->lines.front(), "> TINTAL_HELLO");
    const std::vector<std::string> tail(peer->lines.end() - 3, peer->lines.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"< TINTAL_READY", "> TINTAL_PLAY", "< TINTAL_DONE"}));
}

TYPED_TEST_P(CrossProcessCompanionContract, AMutexHeldByTheOtherProcessDelaysASendThreeSecondsAtMost) {
    auto clock = this->opened();
    auto holder = this->peer({"--hold-mutex", "4500"});
    ASSERT_EQ(holder->nextLine(), "holding");

    const auto start = CompanionClock::now();
    const CompanionStatus status = clock->send(encodeCompanionMessage(kTintalReady));
    const long long waited = msSince(start);
    EXPECT_TRUE(status);  // written anyway
    EXPECT_EQ(status.mutex, MutexWait::TimedOut);
    EXPECT_GE(waited, 2900);
    EXPECT_LT(waited, 4400);

    // Once the holder lets go, the mutex is ours again at once and the message is there.
    EXPECT_EQ(holder->exitStatus(10000), 0);
    const auto again = CompanionClock::now();
    EXPECT_EQ(clock->lockMutex(500), MutexWait::Acquired);
    EXPECT_LT(msSince(again), 500);
    clock->unlockMutex();
    CompanionBlock block;
    ASSERT_TRUE(clock->read(block));
    EXPECT_EQ(decodeCompanionMessage(block).text, "TINTAL_READY");
}

TYPED_TEST_P(CrossProcessCompanionContract, AMutexWhoseOwnerDiedIsTakenOverAtOnce) {
    auto clock = this->opened();
    auto dying = this->peer({"--die-holding-mutex"});
    ASSERT_EQ(dying->nextLine(), "holding");
    ASSERT_EQ(dying->exitStatus(10000), 0);

    auto start = CompanionClock::now();
    CompanionStatus status = clock->send(encodeCompanionMessage(kTintalDone));
    EXPECT_TRUE(status);
    EXPECT_EQ(status.mutex, MutexWait::Recovered);
    EXPECT_LT(msSince(start), 1000);

    start = CompanionClock::now();
    status = clock->send(encodeCompanionMessage(kTintalDone));
    EXPECT_EQ(status.mutex, MutexWait::Acquired);
    EXPECT_LT(msSince(start), 1000);

    // Another program finds it sound too.
    auto next = this->peer({"--hold-mutex", "0"});
    EXPECT_EQ(next->nextLine(), "holding");
    EXPECT_EQ(next->exitStatus(10000), 0);
}

REGISTER_TYPED_TEST_SUITE_P(CrossProcessCompanionContract, ACompanionInAnotherProcessAsksAndIsAnswered,
                            AMutexHeldByTheOtherProcessDelaysASendThreeSecondsAtMost,
                            AMutexWhoseOwnerDiedIsTakenOverAtOnce);

}  // namespace tintal::contracts
