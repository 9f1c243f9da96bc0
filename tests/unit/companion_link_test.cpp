// The companion link with its listener thread, over the in-memory channel: the clock on one
// channel, the test playing the companion on another channel of the same objects.
#include <gtest/gtest.h>

#include <future>

#include "fakes/radio_rig.h"
#include "radio/companion_message.h"

namespace tintal {
namespace {

using Strings = std::vector<std::string>;

struct CompanionRig : RadioRig {
    CompanionRig() {
        EXPECT_TRUE(companion.open());
        start();
        // The listener says "TINTAL connecté" on its own thread.
        EXPECT_TRUE(settle([&] { return !clockSent().empty(); }));
    }
    CompanionLink& link() { return radio.companion(); }
    // The companion sends a text and the clock's window thread has acted on it.
    bool deliver(const std::string& text) {
        link().lastCompanionMessage.clear();
        return companionSays(text) && settle([&] { return link().lastCompanionMessage == text; });
    }
    // Texts the clock sent since the mark.
    Strings sentSince(std::size_t mark) const {
        const Strings all = clockSent();
        return Strings(all.begin() + static_cast<std::ptrdiff_t>(std::min(mark, all.size())), all.end());
    }
    // The listener sends on its own thread: the texts since the mark once they are all out (or what
    // came within two seconds).
    Strings sentSince(std::size_t mark, const Strings& expected) {
        settle([&] { return sentSince(mark) == expected; });
        return sentSince(mark);
    }
    // Plays the companion on a thread of its own: waits for the clock's message `heard`, then answers
    // `answer` at once (no pause). False when `heard` never came.
    bool answerAtOnce(const std::string& heard, const std::string& answer, int timeoutMs = 3000) {
        while (companion.waitForPulse(timeoutMs) == CompanionChannel::Wake::Pulsed) {
            if (companion.readText() == heard) return static_cast<bool>(companion.sendText(answer));
        }
        return false;
    }
    // An announcement of the clock's own runs when the companion says `text`: the clock answers
    // "TINTAL_OCCUPIED". Returns the mark from before the answer.
    std::size_t occupiedBy(const std::string& text) {
        form.Button1.click();
        EXPECT_TRUE(form.announcing);
        const std::size_t mark = clockSent().size();
        EXPECT_TRUE(deliver(text));
        loop.advance(100);
        EXPECT_EQ(sentSince(mark, {"TINTAL_OCCUPIED"}), Strings{"TINTAL_OCCUPIED"});
        return mark;
    }
};

TEST(CompanionLink, ConnectsAtCreationInWindows1252) {
    CompanionRig rig;
    EXPECT_EQ(rig.sentSince(0, {"TINTAL connecté"}), Strings{"TINTAL connecté"});
    EXPECT_EQ(rig.form.EditData.text(), "TINTAL connecté");
    EXPECT_TRUE(rig.link().listening());
    const CompanionBlock block = rig.objects.block();
    const std::string raw(block.begin() + 4, block.begin() + 4 + block[0]);
    EXPECT_EQ(block[0], 15);
    EXPECT_EQ(raw, "TINTAL connect\xE9");
    rig.form.FormClose();
    EXPECT_EQ(rig.clockSent().back(), "TINTAL déconnecté");
    EXPECT_FALSE(rig.link().connected());
}

TEST(CompanionLink, AnswersHelloAfterAPause) {
    CompanionRig rig;
    const std::size_t mark = rig.clockSent().size();
    const auto before = rig.loop.monotonicMs();
    ASSERT_TRUE(rig.deliver("TINTAL_HELLO"));
    EXPECT_EQ(rig.form.EditData.text(), "TINTAL_HELLO");
    EXPECT_TRUE(rig.sentSince(mark).empty());
    rig.loop.advance(CompanionLink::kHelloAnswerDelayMs);
    EXPECT_EQ(rig.sentSince(mark, {"TINTAL_READY"}), Strings{"TINTAL_READY"});
    EXPECT_GE(rig.loop.monotonicMs() - before, 100);
    EXPECT_TRUE(rig.link().listening());
}

TEST(CompanionLink, PlayStartsAnAnnouncementAnsweredWithDone) {
    CompanionRig rig;
    const int opensBefore = rig.channel.opens();
    ASSERT_TRUE(rig.deliver("xx TINTAL_PLAY yy"));
    EXPECT_TRUE(rig.form.announcing);
    EXPECT_TRUE(rig.form.sequencer.companionRequested);
    const std::size_t mark = rig.clockSent().size();
    ASSERT_TRUE(rig.finish());
    // DONE, and the link is kept rather than renewed.
    EXPECT_EQ(rig.sentSince(mark, {"TINTAL_DONE"}), Strings{"TINTAL_DONE"});
    EXPECT_EQ(rig.channel.opens(), opensBefore);
    EXPECT_TRUE(rig.link().listening());
}

TEST(CompanionLink, HelloDuringAnAnnouncementIsOccupiedUntilTheReconnect) {
    CompanionRig rig;
    const std::size_t mark = rig.occupiedBy("TINTAL_HELLO");
    EXPECT_FALSE(rig.link().listening());
    // Deaf meanwhile: nobody waits for the companion's next message.
    ASSERT_TRUE(rig.settle([&] { return rig.objects.waiters() == 0; }));
    // The self-started announcement ends: a second later the link is renewed.
    ASSERT_TRUE(rig.finish());
    const Strings renewed{"TINTAL_OCCUPIED", "TINTAL déconnecté", "TINTAL connecté"};
    EXPECT_EQ(rig.sentSince(mark, renewed), renewed);
    EXPECT_TRUE(rig.link().listening());
    ASSERT_TRUE(rig.deliver("TINTAL_HELLO"));
    rig.loop.advance(100);
    const Strings answered{"TINTAL_OCCUPIED", "TINTAL déconnecté", "TINTAL connecté", "TINTAL_READY"};
    EXPECT_EQ(rig.sentSince(mark, answered), answered);
}

TEST(CompanionLink, AnAnnouncementWithNothingToSayAnswersDoneAfterTheSameDelayAsHello) {
    CompanionRig rig;
    for (TickBox* box :
         {&rig.form.CheckBoxTintal, &rig.form.CheckBoxDate, &rig.form.CheckBoxIlEst, &rig.form.CheckBoxheure}) {
        box->setChecked(false);
    }
    const std::size_t mark = rig.clockSent().size();
    const auto before = rig.loop.monotonicMs();
    ASSERT_TRUE(rig.deliver("TINTAL_PLAY"));
    EXPECT_FALSE(rig.form.announcing);
    EXPECT_EQ(rig.sentSince(mark, {"TINTAL_DONE"}), Strings{"TINTAL_DONE"});
    EXPECT_GE(rig.loop.monotonicMs() - before, CompanionLink::kHelloAnswerDelayMs);
}

TEST(CompanionLink, AnErrorStaysShownButMessagesAreStillActedOn) {
    CompanionRig rig;
    rig.objects.setFailWriteView(true);
    rig.link().sendCompanionMessage("TINTAL_READY");
    EXPECT_TRUE(rig.settle([&] { return rig.form.EditData.text() == "Err: MapViewOfFile"; }));
    rig.objects.setFailWriteView(false);
    Strings shown;
    rig.form.EditData.onChange = [&] { shown.push_back(rig.form.EditData.text()); };
    ASSERT_TRUE(rig.deliver("xx TINTAL_PLAY"));
    EXPECT_TRUE(rig.form.announcing);
    // Only the sequencer's own text replaced the error.
    EXPECT_EQ(shown, Strings{"TINTAL_PLAY"});
    ASSERT_TRUE(rig.finish());
}

TEST(CompanionLink, PlayUnderCarrierStaysRequestedForTheNextEnd) {
    CompanionRig rig;
    rig.choosePort("COM1");
    rig.lines.inputs.dcd = true;
    rig.loop.advance(1000);
    ASSERT_TRUE(rig.deliver("TINTAL_PLAY"));
    EXPECT_FALSE(rig.form.announcing);
    EXPECT_TRUE(rig.form.sequencer.companionRequested);
    rig.lines.inputs.dcd = false;
    rig.loop.advance(1000);
    const std::size_t mark = rig.clockSent().size();
    ASSERT_TRUE(rig.announceNow());
    EXPECT_EQ(rig.sentSince(mark, {"TINTAL_DONE"}), Strings{"TINTAL_DONE"});
}

TEST(CompanionLink, HelloAndPlayTogetherAnswerThenStart) {
    CompanionRig rig;
    const std::size_t mark = rig.clockSent().size();
    ASSERT_TRUE(rig.deliver("TINTAL_HELLO TINTAL_PLAY"));
    EXPECT_FALSE(rig.form.announcing);
    rig.loop.advance(100);
    EXPECT_EQ(rig.sentSince(mark, {"TINTAL_READY"}), Strings{"TINTAL_READY"});
    EXPECT_TRUE(rig.form.announcing);
    ASSERT_TRUE(rig.finish());
}

TEST(CompanionLink, HelloAndPlayTogetherDuringAnAnnouncementAnswerOccupiedAndNothingMore) {
    CompanionRig rig;
    const std::size_t mark = rig.occupiedBy("TINTAL_HELLO TINTAL_PLAY");
    // The PLAY of that message is not acted on: the self-started announcement ends with a reconnect.
    EXPECT_FALSE(rig.form.sequencer.companionRequested);
    ASSERT_TRUE(rig.finish());
    const Strings renewed{"TINTAL_OCCUPIED", "TINTAL déconnecté", "TINTAL connecté"};
    EXPECT_EQ(rig.sentSince(mark, renewed), renewed);
}

TEST(CompanionLink, AListenerEndedDuringARequestedAnnouncementIsBackForTheNextHello) {
    CompanionRig rig;
    const int opensBefore = rig.channel.opens();
    const std::size_t mark = rig.clockSent().size();
    // HELLO, then PLAY before the answer: the announcement runs when the answer is due.
    ASSERT_TRUE(rig.deliver("TINTAL_HELLO"));
    ASSERT_TRUE(rig.deliver("TINTAL_PLAY"));
    ASSERT_TRUE(rig.form.announcing);
    rig.loop.advance(100);
    EXPECT_EQ(rig.sentSince(mark, {"TINTAL_OCCUPIED"}), Strings{"TINTAL_OCCUPIED"});
    ASSERT_TRUE(rig.finish());
    // Exactly DONE for the companion, and a listener again.
    EXPECT_EQ(rig.sentSince(mark, {"TINTAL_OCCUPIED", "TINTAL_DONE"}), (Strings{"TINTAL_OCCUPIED", "TINTAL_DONE"}));
    EXPECT_TRUE(rig.link().listening());
    EXPECT_GT(rig.channel.opens(), opensBefore);
    ASSERT_TRUE(rig.deliver("TINTAL_HELLO"));
    rig.loop.advance(100);
    EXPECT_EQ(rig.sentSince(mark, {"TINTAL_OCCUPIED", "TINTAL_DONE", "TINTAL_READY"}),
              (Strings{"TINTAL_OCCUPIED", "TINTAL_DONE", "TINTAL_READY"}));
}

TEST(CompanionLink, APlaySentTheInstantReadyIsReadIsAlwaysSeen) {
    CompanionRig rig;
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        const std::size_t mark = rig.clockSent().size();
        auto answered = std::async(std::launch::async, [&] { return rig.answerAtOnce("TINTAL_READY", "TINTAL_PLAY"); });
        ASSERT_TRUE(rig.objects.waitForWaiters(2, 2000));
        ASSERT_TRUE(rig.deliver("TINTAL_HELLO"));
        // The companion waits again (it woke on its own HELLO) before the answer is due.
        ASSERT_TRUE(rig.objects.waitForWaiters(2, 2000));
        rig.loop.advance(100);
        ASSERT_TRUE(answered.get());
        ASSERT_TRUE(rig.settle([&] { return rig.form.announcing; }));
        ASSERT_TRUE(rig.finish());
        EXPECT_EQ(rig.sentSince(mark, {"TINTAL_READY", "TINTAL_DONE"}), (Strings{"TINTAL_READY", "TINTAL_DONE"}));
    }
}

TEST(CompanionLink, AHelloSentTheInstantDoneIsReadIsAnswered) {
    CompanionRig rig;
    ASSERT_TRUE(rig.deliver("TINTAL_PLAY"));
    auto answered = std::async(std::launch::async, [&] { return rig.answerAtOnce("TINTAL_DONE", "TINTAL_HELLO"); });
    ASSERT_TRUE(rig.objects.waitForWaiters(2, 2000));
    const std::size_t mark = rig.clockSent().size();
    ASSERT_TRUE(rig.finish());
    ASSERT_TRUE(answered.get());
    ASSERT_TRUE(rig.settle([&] { return rig.link().lastCompanionMessage == "TINTAL_HELLO"; }));
    rig.loop.advance(100);
    EXPECT_EQ(rig.sentSince(mark, {"TINTAL_DONE", "TINTAL_READY"}), (Strings{"TINTAL_DONE", "TINTAL_READY"}));
}

TEST(CompanionLink, AMessageWrittenWhileTheListenerWasBusyIsReadBeforeTheClockWrites) {
    CompanionRig rig;
    ASSERT_TRUE(rig.objects.waitForWaiters(1, 2000));
    // A HELLO whose pulse the listener missed: in the block, no pulse.
    const std::vector<std::uint8_t> hello = encodeCompanionMessage("TINTAL_HELLO");
    rig.objects.poke(0, hello);
    rig.link().sendCompanionMessage("TINTAL_DONE");
    ASSERT_TRUE(rig.settle([&] { return rig.link().lastCompanionMessage == "TINTAL_HELLO"; }));
    rig.loop.advance(100);
    const Strings sent = rig.sentSince(1, {"TINTAL_DONE", "TINTAL_READY"});
    EXPECT_EQ(sent, (Strings{"TINTAL_DONE", "TINTAL_READY"}));
}

TEST(CompanionLink, AHelloBeforeTheSettingsAreLoadedIsAnsweredOnceTheyAre) {
    RadioRig rig;
    ASSERT_TRUE(rig.companion.open());
    rig.form.FormCreate();  // connected; the first tick, which loads the settings, is 500 ms away
    ASSERT_TRUE(rig.settle([&] { return rig.clockSent() == Strings{"TINTAL connecté"}; }));
    ASSERT_TRUE(rig.companionSays("TINTAL_HELLO"));
    ASSERT_TRUE(rig.settle([&] { return rig.radio.companion().lastCompanionMessage == "TINTAL_HELLO"; }));
    rig.loop.advance(300);
    EXPECT_EQ(rig.clockSent(), Strings{"TINTAL connecté"});
    rig.loop.advance(300);
    ASSERT_FALSE(rig.form.ConfigPending);
    EXPECT_TRUE(rig.settle([&] { return rig.clockSent() == Strings{"TINTAL connecté", "TINTAL_READY"}; }));
}

TEST(CompanionLink, ObjectsThatCannotBeMadeLeaveTheClockWithoutListener) {
    RadioRig rig;
    rig.objects.setOpenError("Accès refusé.");
    rig.start();
    EXPECT_EQ(rig.desktop.errorBoxes, Strings{"Accès refusé."});
    EXPECT_FALSE(rig.radio.companion().listening());
    EXPECT_TRUE(rig.announceNow());  // and the clock goes on
    EXPECT_TRUE(rig.clockSent().empty());
    EXPECT_EQ(rig.desktop.errorBoxes.size(), 1u);  // the reconnect after it fails quietly
}

TEST(CompanionLink, AReadThatCannotMapEndsTheListener) {
    CompanionRig rig;
    ASSERT_TRUE(rig.objects.waitForWaiters(1, 2000));
    rig.objects.setFailReadView(true);
    ASSERT_TRUE(rig.companionSays("TINTAL_HELLO"));
    ASSERT_TRUE(rig.settle([&] { return !rig.desktop.errorBoxes.empty(); }));
    EXPECT_EQ(rig.desktop.errorBoxes, Strings{"Echec de la récuperation du pointeur"});
    EXPECT_TRUE(rig.settle([&] { return !rig.link().listening(); }));
}

TEST(CompanionLink, ALengthPastTheBlockIsReadUpToItsEnd) {
    CompanionRig rig;
    ASSERT_TRUE(rig.objects.waitForWaiters(1, 2000));
    // A hostile peer: length 70000, then the text; an empty send pulses without writing.
    const std::uint8_t length[4] = {0x70, 0x11, 0x01, 0x00};
    rig.objects.poke(0, length);
    const std::string text = "TINTAL_PLAY    ";  // covers the earlier message
    rig.objects.poke(4, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
    ASSERT_TRUE(rig.companion.send({}));
    ASSERT_TRUE(rig.settle([&] { return rig.form.announcing; }));
    EXPECT_EQ(rig.link().lastCompanionMessage.size(), kCompanionMaxTextBytes + 0u);
    EXPECT_TRUE(rig.link().lastCompanionMessage.starts_with("TINTAL_PLAY"));
    ASSERT_TRUE(rig.finish());
}

TEST(CompanionLink, DisconnectingDoesNotWaitForAListenerThatMissedThePulse) {
    CompanionRig rig;
    ASSERT_TRUE(rig.objects.waitForWaiters(1, 2000));
    // The listener is ended directly, not by the pulse of "TINTAL déconnecté" that it could miss.
    const auto start = std::chrono::steady_clock::now();
    rig.link().disconnectCompanion();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_FALSE(rig.link().listening());
    EXPECT_EQ(rig.objects.waiters(), 0);
    EXPECT_EQ(rig.channel.closes(), 1);
}

}  // namespace
}  // namespace tintal
