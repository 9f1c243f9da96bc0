// The Windows companion channel for real: named kernel objects shared with the companion peer, a
// process of its own started from beside this test. Each test uses objects of its own names.
#include "platform/win32/win32_companion_channel.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "contracts/companion_channel_contract.h"
#include "platform/win32/win32_text.h"
#include "radio/companion_message.h"
#include "win32/peer_process.h"

namespace tintal {
namespace {

using Wake = CompanionChannel::Wake;

std::string uniqueSuffix() {
    static int counter = 0;
    return "_tintal_test_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter);
}

using contracts::received;

// Objects of names no other test or program uses.
class PrivateObjects {
public:
    const std::string& suffix() const { return suffix_; }
    std::unique_ptr<CompanionChannel> channel() const {
        return std::make_unique<Win32CompanionChannel>(CompanionNames::withSuffix(suffix_));
    }

private:
    std::string suffix_ = uniqueSuffix();
};

TEST(Win32CompanionChannel, TheBlockIsTheNamedMappingLaidOutInWindows1252) {
    EXPECT_EQ(CompanionNames{}.memory, "QUILVENSHAREDMEMORY");
    const CompanionNames names = CompanionNames::withSuffix(uniqueSuffix());
    Win32CompanionChannel clock(names);
    ASSERT_TRUE(clock.open());
    ASSERT_TRUE(clock.send(encodeCompanionMessage(kTintalConnected)));

    // Another program opening the mapping by its name sees the layout, byte for byte.
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, names.memory.c_str());
    ASSERT_NE(mapping, nullptr);
    const auto* view = static_cast<const std::uint8_t*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
    ASSERT_NE(view, nullptr);
    MEMORY_BASIC_INFORMATION region{};
    VirtualQuery(view, &region, sizeof region);
    EXPECT_GE(region.RegionSize, kCompanionBlockSize);
    EXPECT_EQ(std::vector<std::uint8_t>(view, view + 4), (std::vector<std::uint8_t>{15, 0, 0, 0}));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(view) + 4, 14), "TINTAL connect");
    EXPECT_EQ(view[18], 0xE9);
    UnmapViewOfFile(view);
    CloseHandle(mapping);

    // The mutex and the event are there under their names too; the event is manual-reset.
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, names.mutex.c_str());
    HANDLE event = OpenEventA(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, names.event.c_str());
    ASSERT_NE(mutex, nullptr);
    ASSERT_NE(event, nullptr);
    SetEvent(event);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);  // still set: manual reset
    // Our wait resets a set event, so a peer that sets rather than pulses wakes it once.
    EXPECT_EQ(clock.waitForPulse(1000), Wake::Pulsed);
    EXPECT_EQ(clock.waitForPulse(50), Wake::TimedOut);
    CloseHandle(event);
    CloseHandle(mutex);
}

TEST(Win32CompanionChannel, APulseReachesTheOtherProcessAndIsLostWhenNobodyWaits) {
    const std::string suffix = uniqueSuffix();
    Win32CompanionChannel clock(CompanionNames::withSuffix(suffix));
    ASSERT_TRUE(clock.open());

    // Nobody waits: the text is written, the pulse is gone.
    ASSERT_TRUE(clock.send(encodeCompanionMessage("unheard")));
    EXPECT_EQ(clock.waitForPulse(50), Wake::TimedOut);
    EXPECT_EQ(received(clock), "unheard");

    // The peer's wait cannot be seen from here: say it again until it has heard it.
    Peer listener("--suffix " + suffix + " --listen 1 --timeout 15000");
    ASSERT_TRUE(listener.started());
    std::optional<std::string> line;
    for (int tries = 0; tries < 100 && !line; ++tries) {
        ASSERT_TRUE(clock.send(encodeCompanionMessage(kTintalConnected)));
        line = listener.nextLine(150);
    }
    EXPECT_EQ(line, "< TINTAL connecté");  // through Windows-1252 and back
    EXPECT_EQ(listener.exitCode(), 0);

    // The other way, to a waiter of ours, which wakes once for it.
    auto wake = std::async(std::launch::async, [&] { return clock.waitForPulse(15000); });
    Sleep(100);
    Peer sender("--suffix " + suffix + " --send TINTAL_PLAY_from_the_peer");
    EXPECT_EQ(sender.exitCode(), 0);
    EXPECT_EQ(wake.get(), Wake::Pulsed);
    EXPECT_EQ(received(clock), "TINTAL_PLAY_from_the_peer");
    EXPECT_EQ(clock.waitForPulse(50), Wake::TimedOut);
}

TEST(Win32CompanionChannel, AMappingTooShortGivesTheViewErrorsAndNoPulse) {
    const CompanionNames names = CompanionNames::withSuffix(uniqueSuffix());
    // A faulty companion made the mapping first, 16 bytes long.
    HANDLE small = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 16, names.memory.c_str());
    ASSERT_NE(small, nullptr);
    Win32CompanionChannel clock(names), other(names);
    ASSERT_TRUE(clock.open());
    ASSERT_TRUE(other.open());

    auto wake = std::async(std::launch::async, [&] { return other.waitForPulse(500); });
    // Views are page-granular, so the message must run past the mapping's first page.
    CompanionStatus status = clock.send(encodeCompanionMessage(std::string(5000, 'x')));
    EXPECT_FALSE(status);
    EXPECT_EQ(status.error, "Err: MapViewOfFile");
    EXPECT_EQ(status.mutex, MutexWait::Acquired);
    CompanionBlock block;
    status = clock.read(block);
    EXPECT_FALSE(status);
    EXPECT_EQ(status.error, "Echec de la récuperation du pointeur");
    EXPECT_EQ(wake.get(), Wake::TimedOut);

    // What fits is still written.
    EXPECT_TRUE(clock.send(encodeCompanionMessage("short")));
    CloseHandle(small);
}

TEST(Win32CompanionChannel, AnAnswerWrittenTheInstantOurMessageIsReadIsSeenAfterReleaseAndWait) {
    const std::string suffix = uniqueSuffix();
    Win32CompanionChannel clock(CompanionNames::withSuffix(suffix));
    ASSERT_TRUE(clock.open());
    // The companion written from the protocol alone answers each READY with PLAY at once.
    std::string steps;
    for (int round = 0; round < 20; ++round) steps += " expect:TINTAL_READY@10000 send:TINTAL_PLAY";
    PeerProcess peer(L"companion_protocol_peer.exe", "--suffix " + suffix + steps);
    ASSERT_TRUE(peer.nextLine().value_or("").ends_with("= ready"));
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        Wake wake = Wake::TimedOut;
        // Until the peer waits, our pulse is lost: say READY again until it answers.
        for (int tries = 0; tries < 50 && wake != Wake::Pulsed; ++tries) {
            ASSERT_NE(clock.lockMutex(3000), MutexWait::TimedOut);
            ASSERT_TRUE(clock.writeAndPulse(encodeCompanionMessage(kTintalReady)));
            wake = clock.releaseAndWait(round == 0 ? 200 : 5000);
        }
        ASSERT_EQ(wake, Wake::Pulsed);
        EXPECT_EQ(received(clock), "TINTAL_PLAY");
    }
    EXPECT_EQ(peer.exitCode(), 0);
}

TEST(Win32CompanionChannel, AnObjectThatCannotBeMadeFailsOpenWithTheSystemsMessage) {
    const CompanionNames names = CompanionNames::withSuffix(uniqueSuffix());
    // Another kind of object already bears the event's name.
    HANDLE squatter = CreateMutexA(nullptr, FALSE, names.event.c_str());
    ASSERT_NE(squatter, nullptr);
    Win32CompanionChannel clock(names);
    const CompanionStatus status = clock.open();
    EXPECT_FALSE(status);
    EXPECT_FALSE(status.error.empty());
    EXPECT_FALSE(clock.isOpen());
    CloseHandle(squatter);

    // The mapping and the mutex it had made were let go: with no holder left they are gone.
    EXPECT_EQ(OpenFileMappingA(FILE_MAP_READ, FALSE, names.memory.c_str()), nullptr);
    EXPECT_EQ(OpenMutexA(SYNCHRONIZE, FALSE, names.mutex.c_str()), nullptr);
    ASSERT_TRUE(clock.open());
}

}  // namespace

namespace contracts {

template <>
struct CompanionTraits<Win32CompanionChannel> {
    using Session = PrivateObjects;
    using Peer = tintal::Peer;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, CompanionChannelContract, Win32CompanionChannel);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, CrossProcessCompanionContract, Win32CompanionChannel);

}  // namespace contracts
}  // namespace tintal
