// The companion link with its listener thread, over the in-memory channel: the clock on one
// channel, the test playing the companion on another channel of the same objects.
#include <gtest/gtest.h>

#include "fakes/radio_rig.h"
#include "radio/companion_message.h"

namespace tintal {
namespace {

using Strings = std::vector<std::string>;

struct CompanionRig : RadioRig {
    CompanionRig() {
        EXPECT_TRUE(companion.open());
        start();
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
};

TEST(CompanionLink, ConnectsAtCreationInWindows1252) {
    CompanionRig rig;
    EXPECT_EQ(rig.clockSent(), Strings{"TINTAL connecté"});
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
    EXPECT_EQ(rig.sentSince(mark), Strings{"TINTAL_READY"});
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
    EXPECT_EQ(rig.sentSince(mark), Strings{"TINTAL_DONE"});
    EXPECT_EQ(rig.channel.opens(), opensBefore);
    EXPECT_TRUE(rig.link().listening());
}

TEST(CompanionLink, HelloDuringAnAnnouncementIsOccupiedUntilTheReconnect) {
    CompanionRig rig;
    rig.form.Button1.click();
    ASSERT_TRUE(rig.form.announcing);
    const std::size_t mark = rig.clockSent().size();
    ASSERT_TRUE(rig.deliver("TINTAL_HELLO"));
    rig.loop.advance(100);
    EXPECT_EQ(rig.sentSince(mark), Strings{"TINTAL_OCCUPIED"});
    ASSERT_TRUE(rig.settle([&] { return !rig.link().listening(); }));
    // Deaf meanwhile: nobody waits for the companion's next message.
    EXPECT_EQ(rig.objects.waiters(), 0);
    // The self-started announcement ends: a second later the link is renewed.
    ASSERT_TRUE(rig.finish());
    EXPECT_EQ(rig.sentSince(mark), (Strings{"TINTAL_OCCUPIED", "TINTAL déconnecté", "TINTAL connecté"}));
    EXPECT_TRUE(rig.link().listening());
    ASSERT_TRUE(rig.deliver("TINTAL_HELLO"));
    rig.loop.advance(100);
    EXPECT_EQ(rig.sentSince(mark).back(), "TINTAL_READY");
}

TEST(CompanionLink, AnErrorStaysShownButMessagesAreStillActedOn) {
    CompanionRig rig;
    rig.objects.setFailWriteView(true);
    rig.link().sendCompanionMessage("TINTAL_READY");
    EXPECT_EQ(rig.form.EditData.text(), "Err: MapViewOfFile");
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
    EXPECT_EQ(rig.sentSince(mark), Strings{"TINTAL_DONE"});
}

TEST(CompanionLink, HelloAndPlayTogetherAnswerThenStart) {
    CompanionRig rig;
    const std::size_t mark = rig.clockSent().size();
    ASSERT_TRUE(rig.deliver("TINTAL_HELLO TINTAL_PLAY"));
    EXPECT_FALSE(rig.form.announcing);
    rig.loop.advance(100);
    EXPECT_EQ(rig.sentSince(mark), Strings{"TINTAL_READY"});
    EXPECT_TRUE(rig.form.announcing);
    ASSERT_TRUE(rig.finish());
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
