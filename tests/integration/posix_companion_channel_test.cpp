// The Linux companion channel for real: the named objects in /dev/shm, shared with the companion
// peer running as a process of its own. Every test uses objects of its own names, so a real
// companion or a parallel run is never disturbed.
#include "platform/posix/posix_companion_channel.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "contracts/companion_channel_contract.h"
#include "integration/companion_peer_process.h"
#include "radio/companion_message.h"

extern char** environ;

namespace tintal {
namespace {

using Clock = std::chrono::steady_clock;
using Wake = CompanionChannel::Wake;

long long msSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

bool eventually(const std::function<bool()>& condition, int timeoutMs = 5000) {
    const auto start = Clock::now();
    while (!condition()) {
        if (msSince(start) > timeoutMs) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

constexpr std::string_view kTestMark = "_tintal_test_";

// Objects a test run that was killed before its tear-down left behind: those of a dead pid.
void sweepDeadRuns() {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/shm", error)) {
        const std::string name = entry.path().filename().string();
        const auto mark = name.find(kTestMark);
        if (name.rfind("QUILVEN", 0) != 0 || mark == std::string::npos) continue;
        const pid_t pid = std::atoi(name.c_str() + mark + kTestMark.size());
        if (pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH) shm_unlink(("/" + name).c_str());
    }
}

// Objects private to one test, removed before and after it.
class PrivateObjects {
public:
    PrivateObjects() {
        static const bool swept = (sweepDeadRuns(), true);
        static_cast<void>(swept);
        static int counter = 0;
        suffix_ = std::string(kTestMark) + std::to_string(getpid()) + "_" + std::to_string(++counter);
        names_ = CompanionNames::withSuffix(suffix_);
        PosixCompanionChannel::unlink(names_);
    }
    ~PrivateObjects() { PosixCompanionChannel::unlink(names_); }
    PrivateObjects(const PrivateObjects&) = delete;
    PrivateObjects& operator=(const PrivateObjects&) = delete;

    const std::string& suffix() const { return suffix_; }
    const CompanionNames& names() const { return names_; }
    std::unique_ptr<CompanionChannel> channel() const { return std::make_unique<PosixCompanionChannel>(names_); }

private:
    std::string suffix_;
    CompanionNames names_;
};

class CompanionChannelTest : public ::testing::Test {
protected:
    PrivateObjects objects;
    const std::string& suffix = objects.suffix();
    const CompanionNames& names = objects.names();
};

using contracts::received;

TEST_F(CompanionChannelTest, TheObjectsAreTheUsersOwnAndTheBlockIsFullSize) {
    EXPECT_EQ(CompanionNames{}.memory, "QUILVENSHAREDMEMORY");
    EXPECT_EQ(CompanionNames{}.mutex, "QUILVENMUTEX");
    EXPECT_EQ(CompanionNames{}.event, "QUILVENEVENT");

    PosixCompanionChannel channel(names);
    ASSERT_TRUE(channel.open());
    struct stat st {};
    ASSERT_EQ(stat(("/dev/shm/" + names.memory).c_str(), &st), 0);
    EXPECT_EQ(st.st_size, 65536);
    EXPECT_EQ(st.st_mode & 0777, 0600);
    for (const std::string& name : {names.mutex, names.event}) {
        ASSERT_EQ(stat(("/dev/shm/" + name).c_str(), &st), 0) << name;
        EXPECT_EQ(st.st_mode & 0777, 0600) << name;
    }

    // What the block holds after a send is the layout, byte for byte.
    ASSERT_TRUE(channel.send(encodeCompanionMessage(kTintalConnected)));
    const int fd = shm_open(("/" + names.memory).c_str(), O_RDONLY, 0);
    ASSERT_GE(fd, 0);
    std::uint8_t head[19];
    ASSERT_EQ(pread(fd, head, sizeof head, 0), 19);
    ::close(fd);
    EXPECT_EQ(std::vector<std::uint8_t>(head, head + 4), (std::vector<std::uint8_t>{15, 0, 0, 0}));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(head) + 4, 14), "TINTAL connect");
    EXPECT_EQ(head[18], 0xE9);
}

TEST_F(CompanionChannelTest, EachPulseWakesAWaitingPeerOnceAndIsLostWhenNobodyWaits) {
    PosixCompanionChannel clock(names);
    ASSERT_TRUE(clock.open());
    EXPECT_EQ(clock.waitersNow(), 0);
    ASSERT_TRUE(clock.send(encodeCompanionMessage("nobody hears this")));

    Peer peer({"--suffix", suffix, "--listen", "3", "--timeout", "10000"});
    ASSERT_TRUE(peer.started());
    const std::vector<std::string> texts{std::string(kTintalConnected), "TINTAL_READY",
                                         std::string(kTintalDisconnected)};
    for (const std::string& text : texts) {
        // Counted in means the generation it waits on was taken: this pulse is its to see.
        ASSERT_TRUE(eventually([&] { return clock.waitersNow() == 1; })) << text;
        ASSERT_TRUE(clock.send(encodeCompanionMessage(text)));
        EXPECT_EQ(peer.nextLine(), "< " + text);  // the accents crossed as Windows-1252 and came back
    }
    EXPECT_EQ(peer.exitStatus(), 0);
    EXPECT_EQ(peer.lines.size(), 3u);  // nothing before it listened, nothing twice
    EXPECT_EQ(clock.waitersNow(), 0);

    // One pulse wakes every process that waits, not just one of them.
    Peer first({"--suffix", suffix, "--listen", "1"}), second({"--suffix", suffix, "--listen", "1"});
    ASSERT_TRUE(eventually([&] { return clock.waitersNow() == 2; }));
    ASSERT_TRUE(clock.send(encodeCompanionMessage("to all")));
    EXPECT_EQ(first.nextLine(), "< to all");
    EXPECT_EQ(second.nextLine(), "< to all");
    EXPECT_EQ(first.exitStatus(), 0);
    EXPECT_EQ(second.exitStatus(), 0);

    // The other way: a message from the peer wakes our waiter, and only once.
    auto wake = std::async(std::launch::async, [&] { return clock.waitForPulse(5000); });
    ASSERT_TRUE(eventually([&] { return clock.waitersNow() == 1; }));
    Peer sender({"--suffix", suffix, "--send", "TINTAL_HELLO from the peer"});
    EXPECT_EQ(sender.exitStatus(), 0);
    EXPECT_EQ(wake.get(), Wake::Pulsed);
    EXPECT_EQ(received(clock), "TINTAL_HELLO from the peer");
    EXPECT_EQ(clock.waitForPulse(50), Wake::TimedOut);
}

// A companion is usually ended while its listener waits; that must not stop later pulses.
TEST_F(CompanionChannelTest, APeerKilledWhileWaitingLeavesThePulseWorking) {
    PosixCompanionChannel clock(names);
    ASSERT_TRUE(clock.open());
    for (int round = 0; round < 3; ++round) {
        Peer victim({"--suffix", suffix, "--listen", "5", "--timeout", "20000"});
        ASSERT_TRUE(eventually([&] { return clock.waitersNow() == round + 1; }));
        victim.killNow();
    }
    EXPECT_EQ(clock.waitersNow(), 3);  // the dead stay counted: the count is only a hint

    Peer live({"--suffix", suffix, "--listen", "2", "--timeout", "10000"});
    ASSERT_TRUE(eventually([&] { return clock.waitersNow() == 4; }));
    for (const char* text : {"first", "second"}) {
        ASSERT_TRUE(eventually([&] { return clock.waitersNow() == 4; })) << text;
        auto send = std::async(std::launch::async, [&] { return clock.send(encodeCompanionMessage(text)).ok; });
        ASSERT_EQ(send.wait_for(std::chrono::seconds(5)), std::future_status::ready) << "the pulse hangs";
        EXPECT_TRUE(send.get());
        EXPECT_EQ(live.nextLine(), std::string("< ") + text);
    }
    EXPECT_EQ(live.exitStatus(), 0);
}

TEST_F(CompanionChannelTest, AnAnswerWrittenTheInstantOurMessageIsReadIsSeenAfterReleaseAndWait) {
    PosixCompanionChannel clock(names);
    ASSERT_TRUE(clock.open());
    // The companion written from the protocol alone answers each READY with PLAY at once.
    std::vector<std::string> arguments{"--suffix", suffix};
    for (int round = 0; round < 20; ++round) {
        arguments.push_back("expect:TINTAL_READY@10000");
        arguments.push_back("send:TINTAL_PLAY");
    }
    ProtocolPeer peer(arguments);
    ASSERT_TRUE(peer.nextLine().value_or("").ends_with("= ready"));
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(eventually([&] { return clock.waitersNow() == 1; }));
        ASSERT_NE(clock.lockMutex(3000), MutexWait::TimedOut);
        ASSERT_TRUE(clock.writeAndPulse(encodeCompanionMessage(kTintalReady)));
        ASSERT_EQ(clock.releaseAndWait(5000), Wake::Pulsed);
        EXPECT_EQ(received(clock), "TINTAL_PLAY");
    }
    EXPECT_EQ(peer.exitStatus(), 0);
}

TEST_F(CompanionChannelTest, InterruptEndsOurWaitButWakesNoPeer) {
    PosixCompanionChannel clock(names);
    ASSERT_TRUE(clock.open());
    Peer listener({"--suffix", suffix, "--listen", "1", "--timeout", "10000"});
    ASSERT_TRUE(eventually([&] { return clock.waitersNow() == 1; }));

    // A long wait rather than none, so that a broken interrupt fails the test instead of hanging it.
    auto wake = std::async(std::launch::async, [&] { return clock.waitForPulse(10000); });
    ASSERT_TRUE(eventually([&] { return clock.waitersNow() == 2; }));
    const auto start = Clock::now();
    clock.interrupt();
    EXPECT_EQ(wake.get(), Wake::Interrupted);
    EXPECT_LE(msSince(start), PosixCompanionChannel::kInterruptSliceMs + 200);
    EXPECT_EQ(clock.waitForPulse(1000), Wake::Interrupted);  // at once, until the next open

    // The peer saw no message in that: the first it logs is the one sent next.
    ASSERT_TRUE(eventually([&] { return clock.waitersNow() == 1; }));
    ASSERT_TRUE(clock.send(encodeCompanionMessage("after the interrupt")));
    EXPECT_EQ(listener.nextLine(), "< after the interrupt");
    EXPECT_EQ(listener.exitStatus(), 0);

    clock.close();
    EXPECT_EQ(clock.waitForPulse(0), Wake::Failed);
    ASSERT_TRUE(clock.open());
    EXPECT_EQ(clock.waitForPulse(10), Wake::TimedOut);
}

TEST_F(CompanionChannelTest, AShrunkenBlockGivesTheViewErrorsAndNoPulse) {
    PosixCompanionChannel clock(names);
    ASSERT_TRUE(clock.open());
    const int fd = shm_open(("/" + names.memory).c_str(), O_RDWR, 0);
    ASSERT_GE(fd, 0);
    PosixCompanionChannel waiter(names), other(names);
    ASSERT_TRUE(waiter.open());
    ASSERT_EQ(ftruncate(fd, 8), 0);  // a faulty peer

    auto wake = std::async(std::launch::async, [&] { return waiter.waitForPulse(500); });
    ASSERT_TRUE(eventually([&] { return clock.waitersNow() == 1; }));
    CompanionStatus status = clock.send(encodeCompanionMessage(kTintalDone));
    EXPECT_FALSE(status);
    EXPECT_EQ(status.error, "Err: MapViewOfFile");
    EXPECT_EQ(status.mutex, MutexWait::Acquired);  // and released: the next call gets it
    CompanionBlock block;
    status = clock.read(block);
    EXPECT_FALSE(status);
    EXPECT_EQ(status.error, "Echec de la récuperation du pointeur");
    EXPECT_EQ(status.mutex, MutexWait::Acquired);
    EXPECT_EQ(wake.get(), Wake::TimedOut);

    // Whoever opens next restores the full block.
    ASSERT_TRUE(other.open());
    struct stat st {};
    ASSERT_EQ(fstat(fd, &st), 0);
    EXPECT_EQ(st.st_size, 65536);
    ::close(fd);
    EXPECT_TRUE(clock.send(encodeCompanionMessage(kTintalDone)));
    EXPECT_EQ(received(other), "TINTAL_DONE");
}

TEST_F(CompanionChannelTest, ControlObjectsLeftHalfMadeAreLaidOutAndForeignOnesRefused) {
    // A program killed between creating the objects and laying them out left them empty.
    for (const std::string& name : {names.mutex, names.event}) {
        const int fd = shm_open(("/" + name).c_str(), O_RDWR | O_CREAT, 0600);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }
    PosixCompanionChannel clock(names);
    ASSERT_TRUE(clock.open());
    EXPECT_EQ(clock.lockMutex(100), MutexWait::Acquired);
    clock.unlockMutex();
    EXPECT_EQ(clock.waitersNow(), 0);
    clock.close();

    // An event object of another layout is not used, and the other two are let go.
    const int fd = shm_open(("/" + names.event).c_str(), O_RDWR, 0);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(pwrite(fd, "XXXX", 4, 0), 4);
    ::close(fd);
    const CompanionStatus status = clock.open();
    EXPECT_FALSE(status);
    EXPECT_NE(status.error.find("/" + names.event), std::string::npos) << status.error;
    EXPECT_FALSE(clock.isOpen());

    // The system's refusal comes back with the object it concerns.
    PosixCompanionChannel bad(CompanionNames::withSuffix(suffix + "/nested"));
    const CompanionStatus refused = bad.open();
    EXPECT_FALSE(refused);
    EXPECT_NE(refused.error.find("shm_open"), std::string::npos) << refused.error;
    EXPECT_FALSE(bad.isOpen());
}

}  // namespace

namespace contracts {

template <>
struct CompanionTraits<PosixCompanionChannel> {
    using Session = PrivateObjects;
    using Peer = tintal::Peer;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Posix, CompanionChannelContract, PosixCompanionChannel);
INSTANTIATE_TYPED_TEST_SUITE_P(Posix, CrossProcessCompanionContract, PosixCompanionChannel);

}  // namespace contracts
}  // namespace tintal
