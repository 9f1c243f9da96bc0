// A whole clock (main window, sequencer, listener thread) and the companion peer in two processes,
// over the POSIX shared-memory channel, with objects of this test's own names.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fakes/companion_clock_rig.h"
#include "integration/companion_peer_process.h"
#include "platform/posix/posix_companion_channel.h"
#include "platform/posix/posix_event_loop.h"

namespace tintal {
namespace {

// Objects of this test's own names: those a killed run left behind are removed first, these at the end.
struct FreshNames {
    explicit FreshNames(const std::string& test)
        : suffix("_tintal_test_" + std::to_string(getpid()) + "_radio_" + test),
          names(CompanionNames::withSuffix(suffix)) {
        PosixCompanionChannel::unlink(names);
    }
    ~FreshNames() { PosixCompanionChannel::unlink(names); }
    const std::string suffix;
    const CompanionNames names;
};

// Its clips played in 100 ms each; the names outlive the clock.
struct ClockFixture : FreshNames, CompanionClockRig<PosixEventLoop, PosixCompanionChannel> {
    explicit ClockFixture(const std::string& test) : FreshNames(test), CompanionClockRig(names, 100) {}
    bool runUntilEnded(Peer& peer, int limitMs = 20000) { return CompanionClockRig::runUntilEnded(peer, limitMs); }
};

TEST(RadioCompanion, HelloReadyThenPlayAnnouncesAndAnswersDone) {
    ClockFixture clock("play");
    ASSERT_TRUE(clock.radio.companion().listening());
    Peer peer({"--suffix", clock.suffix, "--timeout", "15000"});
    ASSERT_TRUE(clock.runUntilEnded(peer));
    EXPECT_EQ(peer.exitStatus(1000), 0);
    ASSERT_GE(peer.lines.size(), 4u);
    EXPECT_EQ(peer.lines.back(), "< TINTAL_DONE");
    EXPECT_NE(std::find(peer.lines.begin(), peer.lines.end(), "< TINTAL_READY"), peer.lines.end());
    EXPECT_FALSE(clock.player.names().empty());
}

TEST(RadioCompanion, HelloDuringAnAnnouncementIsOccupied) {
    ClockFixture clock("occupied");
    clock.player.hangOn = "son_mardi";
    clock.form.Button1.click();
    ASSERT_TRUE(pumpUntil(
        clock.loop, [&] { return clock.player.clipPlaying(); }, 5000));
    Peer peer({"--suffix", clock.suffix, "--hello-only", "--timeout", "5000"});
    ASSERT_TRUE(clock.runUntilEnded(peer));
    EXPECT_EQ(peer.exitStatus(1000), 3);
    clock.player.markIdle();
    clock.form.TimerSecuriteTimer();  // renews the link
    Peer again({"--suffix", clock.suffix, "--hello-only", "--timeout", "5000"});
    ASSERT_TRUE(clock.runUntilEnded(again));
    EXPECT_EQ(again.exitStatus(1000), 0);
}

TEST(RadioCompanion, ASelfStartedAnnouncementEndsWithAReconnect) {
    ClockFixture clock("self");
    Peer peer({"--suffix", clock.suffix, "--listen", "2", "--timeout", "15000"});
    clock.loop.pump(500);  // the peer is waiting by now
    clock.form.Button1.click();
    ASSERT_TRUE(clock.runUntilEnded(peer));
    EXPECT_EQ(peer.exitStatus(1000), 0);
    EXPECT_EQ(peer.lines, (std::vector<std::string>{"< TINTAL déconnecté", "< TINTAL connecté"}));
}

}  // namespace
}  // namespace tintal
