// The transmitter port seen from the main window: choosing it, keying it around announcements,
// the carrier inhibit and the handshake lines that start announcements.
#include <gtest/gtest.h>

#include "fakes/radio_rig.h"

namespace tintal {
namespace {

using Strings = std::vector<std::string>;

struct LinesRig : RadioRig {
    LinesRig() {
        lines.names = {"COM2", "COM10", "COM1", "COM0", "COMX"};
        start();
    }
    TFormCOM& com() { return radio.com(); }
    // Polls the clock does at each tick: a second of virtual time.
    void tick(int seconds = 1) { loop.advance(seconds * 1000); }
};

TEST(TFormCOM, ListsThePortsOnceAndSelectsTheChosenOne) {
    LinesRig rig;
    EXPECT_EQ(rig.form.ListBoxPort.items(), (Strings{"No COM", "COM1", "COM10", "COM2"}));
    EXPECT_FALSE(rig.form.ListBoxPort.visible());
    rig.radio.ptt().pttPortName = "COM10";
    rig.com().form.show();
    EXPECT_EQ(rig.com().ListBoxCOM.items(), rig.form.ListBoxPort.items());
    EXPECT_EQ(rig.com().ListBoxCOM.selectedItem(), "COM10");
    EXPECT_TRUE(rig.lines.events().empty());  // showing the list opens nothing
    // The copy is made once per run.
    rig.com().form.hide();
    rig.form.ListBoxPort.addItem("COM7");
    rig.com().form.show();
    EXPECT_EQ(rig.com().ListBoxCOM.count(), 4);
}

TEST(TFormCOM, ChoosingAPortOpensItAndClosesTheWindow) {
    LinesRig rig;
    rig.choosePort("COM2");
    EXPECT_EQ(rig.lines.openPort(), "COM2");
    EXPECT_EQ(rig.form.LabelCOM.caption(), "COM2");
    EXPECT_EQ(rig.radio.ptt().pttDevicePath(), "\\\\.\\COM2");
    EXPECT_FALSE(rig.com().form.visible());
    rig.lines.clearEvents();
    rig.choosePort("COM1");
    EXPECT_EQ(rig.lines.events(), (Strings{"DTR off", "RTS off", "close", "open COM1"}));
    rig.lines.clearEvents();
    rig.choosePort("No COM");
    EXPECT_EQ(rig.lines.events(), (Strings{"DTR off", "RTS off", "close"}));
    EXPECT_EQ(rig.radio.ptt().pttPortName, "No COM");
    EXPECT_EQ(rig.form.LabelCOM.caption(), "COM");
    EXPECT_EQ(rig.radio.ptt().pttDevicePath(), "    ");
}

TEST(TFormCOM, APortThatCannotBeOpenedLeavesNoPort) {
    LinesRig rig;
    rig.lines.unopenable = {"COM10"};
    rig.choosePort("COM10");
    EXPECT_EQ(rig.desktop.errorBoxes, Strings{"Erreur port COM"});
    EXPECT_EQ(rig.com().ListBoxCOM.selectedItem(), "No COM");
    EXPECT_EQ(rig.radio.ptt().pttPortName, "No COM");
    EXPECT_EQ(rig.form.LabelCOM.caption(), "No COM");
    EXPECT_FALSE(rig.radio.ptt().pttOpenOk);
    EXPECT_FALSE(rig.lines.isOpen());
    EXPECT_TRUE(rig.com().form.visible());
    // No port: no polling, no keying.
    rig.lines.inputs.cts = true;
    rig.tick(3);
    EXPECT_EQ(rig.lines.reads, 0);
    ASSERT_TRUE(rig.announceNow());
    EXPECT_FALSE(rig.lines.keyed());
}

TEST(TFormCOM, RestoringAStoredPort) {
    LinesRig rig;
    rig.com().restorePort(10);
    EXPECT_EQ(rig.lines.openPort(), "COM10");
    EXPECT_EQ(rig.form.LabelCOM.caption(), "COM10");
    rig.com().form.show();
    EXPECT_EQ(rig.com().ListBoxCOM.selectedItem(), "COM10");
    rig.com().restorePort(0);
    EXPECT_FALSE(rig.lines.isOpen());
    EXPECT_EQ(rig.form.LabelCOM.caption(), "COM");
    EXPECT_EQ(rig.com().ListBoxCOM.selectedItem(), "No COM");
    rig.com().restorePort(7);  // gone since the settings were saved
    EXPECT_EQ(rig.form.LabelCOM.caption(), "No COM");
    EXPECT_EQ(rig.desktop.errorBoxes.size(), 1u);
}

TEST(PttPort, KeysTheTickedLinesForTheAnnouncementOnly) {
    LinesRig rig;
    rig.choosePort("COM1");
    rig.lines.clearEvents();
    const auto before = rig.loop.monotonicMs();
    rig.form.Button1.click();
    EXPECT_EQ(rig.lines.events(), (Strings{"DTR on", "RTS on"}));
    EXPECT_TRUE(rig.form.ImageLedON.visible());
    EXPECT_FALSE(rig.form.ImageLedOFF.visible());
    ASSERT_FALSE(rig.player.startedAt.empty());
    EXPECT_GE(rig.player.startedAt.front() - before, 300);  // on the air before the first sound
    ASSERT_TRUE(rig.finish());
    EXPECT_FALSE(rig.lines.keyed());
    EXPECT_FALSE(rig.form.ImageLedON.visible());
    EXPECT_TRUE(rig.form.ImageLedOFF.visible());

    // DTR unticked: RTS alone. Neither: nothing raised, no light, the wait all the same.
    rig.com().CheckBoxDTR.setChecked(false);
    rig.lines.clearEvents();
    ASSERT_TRUE(rig.announceNow());
    EXPECT_EQ(rig.lines.events(), (Strings{"RTS on", "DTR off", "RTS off"}));
    rig.com().CheckBoxRTS.setChecked(false);
    rig.lines.clearEvents();
    const auto start = rig.loop.monotonicMs();
    const auto clipsBefore = rig.player.startedAt.size();
    rig.form.Button1.click();
    EXPECT_FALSE(rig.form.ImageLedON.visible());
    EXPECT_GE(rig.player.startedAt[clipsBefore] - start, 300);
    ASSERT_TRUE(rig.finish());
}

TEST(PttPort, EveryEndOfAnAnnouncementReleasesTheTransmitter) {
    LinesRig rig;
    rig.choosePort("COM1");
    // A clip error after the keying.
    rig.player.failures["tintal.wav"] = "Err: Nom Fichier Wave";
    rig.form.Button1.click();
    EXPECT_FALSE(rig.form.announcing);
    EXPECT_FALSE(rig.lines.keyed());
    EXPECT_TRUE(rig.form.ImageLedOFF.visible());
    // A stuck announcement ended by the safety timer.
    rig.player.failures.clear();
    rig.player.hangOn = "son_mardi";
    rig.form.Button1.click();
    rig.loop.advance(5000);
    ASSERT_TRUE(rig.lines.keyed());
    rig.player.markIdle();  // the device gave up on the clip; nothing re-enters the sequencer
    rig.loop.advance(120000);
    EXPECT_FALSE(rig.form.announcing);
    EXPECT_FALSE(rig.lines.keyed());
    // The program closing in the middle of one.
    rig.player.hangOn.clear();
    rig.form.Button1.click();
    ASSERT_TRUE(rig.lines.keyed());
    rig.form.FormClose();
    EXPECT_FALSE(rig.lines.keyed());
    EXPECT_FALSE(rig.form.ImageLedON.visible());
}

TEST(PttPort, CarrierShowsAndInhibitsEveryStart) {
    LinesRig rig;
    rig.choosePort("COM1");
    rig.form.UpDownPeriode.setValue(3);  // every 15 minutes
    rig.lines.inputs = {.cts = false, .dsr = false, .dcd = true};
    rig.tick();
    EXPECT_EQ(rig.form.LabelDCD.caption(), "DCD=On");
    EXPECT_TRUE(rig.form.ImageTintalOff.visible());
    EXPECT_FALSE(rig.form.ImageTintal.visible());
    // The button, the schedule, and CTS/DSR are all refused.
    rig.form.Button1.click();
    EXPECT_FALSE(rig.form.announcing);
    rig.lines.inputs.cts = rig.lines.inputs.dsr = true;
    rig.loop.setLocalNow(encodeDateTime(2026, 12, 1, 21, 14, 58));
    rig.tick(5);
    EXPECT_FALSE(rig.form.announcing);
    EXPECT_TRUE(rig.player.names().empty());
    // Unticking DCD lets the lines through (away from the scheduled minute, which does not poll).
    rig.form.UpDownPeriode.setValue(0);
    rig.com().CheckBoxDCD.setChecked(false);
    rig.lines.inputs.cts = rig.lines.inputs.dsr = false;
    rig.tick();
    rig.lines.inputs.cts = true;
    rig.tick();
    EXPECT_TRUE(rig.form.announcing);
    ASSERT_TRUE(rig.finish());
    // Carrier gone: the picture comes back.
    rig.lines.inputs = {};
    rig.tick();
    EXPECT_EQ(rig.form.LabelDCD.caption(), "DCD=Off");
    EXPECT_TRUE(rig.form.ImageTintal.visible());
    // Choosing no port forgets the carrier.
    rig.lines.inputs.dcd = true;
    rig.tick();
    rig.choosePort("No COM");
    EXPECT_FALSE(rig.radio.ptt().dcdOn);
    EXPECT_TRUE(rig.form.ImageTintal.visible());
}

TEST(PttPort, ALineHeldHighStartsOneAnnouncement) {
    LinesRig rig;
    rig.choosePort("COM1");
    rig.lines.inputs.cts = true;
    int starts = 0;
    rig.form.EditData.onChange = [&] { starts += rig.form.EditData.text() == "TINTAL_PLAY"; };
    rig.tick(60);
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(rig.form.LabelCTS.caption(), "CTS=On");
    // It must drop and rise again.
    rig.lines.inputs.cts = false;
    rig.tick();
    EXPECT_EQ(rig.form.LabelCTS.caption(), "CTS=Off");
    rig.lines.inputs.cts = true;
    rig.tick();
    EXPECT_EQ(starts, 2);
}

TEST(PttPort, CtsWinsOverDsrRisingTogether) {
    LinesRig rig;
    rig.choosePort("COM1");
    rig.com().CheckBoxCTS.setChecked(false);
    rig.lines.inputs = {.cts = true, .dsr = true, .dcd = false};
    rig.tick();
    // CTS was handled (latched, not wanted); DSR waits for the next poll.
    EXPECT_EQ(rig.form.LabelCTS.caption(), "CTS=On");
    EXPECT_EQ(rig.form.LabelDSR.caption(), "DSR=Off");
    EXPECT_FALSE(rig.form.announcing);
    rig.tick();
    EXPECT_EQ(rig.form.LabelDSR.caption(), "DSR=On");
    EXPECT_TRUE(rig.form.announcing);
    ASSERT_TRUE(rig.finish());
    // Both boxes ticked: CTS starts it, and the announcement latches DSR too.
    rig.com().CheckBoxCTS.setChecked(true);
    rig.lines.inputs = {};
    rig.tick();
    rig.lines.inputs = {.cts = true, .dsr = true, .dcd = false};
    int starts = 0;
    rig.form.EditData.onChange = [&] { starts += rig.form.EditData.text() == "TINTAL_PLAY"; };
    rig.tick();
    ASSERT_TRUE(rig.finish());
    rig.tick(10);
    EXPECT_EQ(starts, 1);
}

TEST(PttPort, NoPollingDuringAnAnnouncement) {
    LinesRig rig;
    rig.choosePort("COM1");
    rig.form.Button1.click();
    const int reads = rig.lines.reads;
    rig.tick(3);
    EXPECT_EQ(rig.lines.reads, reads);
    ASSERT_TRUE(rig.finish());
    rig.tick(3);
    EXPECT_GT(rig.lines.reads, reads);
}

}  // namespace
}  // namespace tintal
