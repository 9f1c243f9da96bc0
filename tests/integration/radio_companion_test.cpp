// A whole clock (main window, sequencer, listener thread) and the companion peer in two processes,
// over the POSIX shared-memory channel, with objects of this test's own names.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/tform1.h"
#include "fakes/fake_audio_device.h"
#include "fakes/fake_clip_player.h"
#include "fakes/fake_serial_lines.h"
#include "fakes/radio_rig.h"
#include "integration/companion_peer_process.h"
#include "platform/posix/posix_companion_channel.h"
#include "platform/posix/posix_event_loop.h"
#include "radio/radio_station.h"

namespace tintal {
namespace {

template <typename Predicate>
bool pumpUntil(EventLoop& loop, Predicate done, int limitMs) {
    for (int waited = 0; !done() && waited < limitMs; waited += 20) loop.pump(20);
    return done();
}

// Objects of these names, left over by a killed run, are removed first.
CompanionNames freshNames(const std::string& suffix) {
    const CompanionNames names = CompanionNames::withSuffix(suffix);
    PosixCompanionChannel::unlink(names);
    return names;
}

struct ClockFixture {
    explicit ClockFixture(const std::string& test)
        : suffix("_tintal_test_" + std::to_string(getpid()) + "_radio_" + test),
          channel(freshNames(suffix)),
          player(loop, 100),
          radio({loop, desktop, files, lines, channel, recorder}),
          form({loop, desktop, player, audio, radio, {}}) {
        radio.attach(form);
        form.FormCreate();
        pumpUntil(
            loop, [&] { return !form.ConfigPending; }, 3000);
    }
    ~ClockFixture() {
        form.FormClose();
        PosixCompanionChannel::unlink(CompanionNames::withSuffix(suffix));
    }
    bool runUntilEnded(Peer& peer, int limitMs = 20000) {
        return pumpUntil(
            loop, [&] { return peer.ended(); }, limitMs);
    }

    const std::string suffix;
    PosixEventLoop loop;
    FrenchDesktop desktop;
    ListedFiles files;
    FakeSerialLines lines;
    PosixCompanionChannel channel;
    AbsentRecorderLink recorder;
    FakeAudioDevice audio{loop};
    FakeClipPlayer player;
    RadioStation radio;
    TForm1 form;
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
