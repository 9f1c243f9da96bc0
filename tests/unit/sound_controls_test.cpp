#include <gtest/gtest.h>

#include "fakes/main_window_rig.h"

namespace tintal {
namespace {

struct SoundRig : MainWindowRig {
    SoundRig() : MainWindowRig(encodeDateTime(2026, 12, 1, 12, 0, 30)) { start(); }
    SoundControls& sound() { return form.sound; }
};

TEST(SoundControls, SliderAndBalanceSetTheDeviceVolume) {
    SoundRig rig;
    rig.sound().balance = 20;
    rig.sound().TrackBarVolume.setValue(1);  // the full device volume has put the slider at 0
    rig.sound().TrackBarVolume.setValue(0);
    EXPECT_EQ(rig.audio.lastVolumeSet & 0xFFFF, 65535u);
    EXPECT_EQ(rig.audio.lastVolumeSet >> 16, 52428u);
    rig.sound().balance = -50;
    rig.sound().TrackBarVolume.setValue(5);  // x = 32768 (32767.5 to even)
    EXPECT_EQ(rig.audio.lastVolumeSet >> 16, 32768u);
    EXPECT_EQ(rig.audio.lastVolumeSet & 0xFFFF, 16384u);
    rig.sound().TrackBarVolume.setValue(10);
    EXPECT_EQ(rig.audio.lastVolumeSet, 0u);
    EXPECT_FALSE(rig.sound().volumeBusy);
}

TEST(SoundControls, EverySliderPositionReadsBackFromTheVolumeItSets) {
    for (int balance : {0, 20, -35}) {
        for (int position = 0; position <= 10; ++position) {
            SoundRig rig;
            rig.sound().balance = balance;
            rig.sound().TrackBarVolume.setValue(position);
            rig.sound().TrackBarVolumeChange();
            rig.audio.deviceVolume = rig.audio.lastVolumeSet;
            rig.sound().ReadDeviceVolume();
            EXPECT_EQ(rig.sound().TrackBarVolume.value(), position) << "balance " << balance;
            if (position < 10) {
                EXPECT_EQ(rig.sound().balance, balance) << "position " << position;
            }
        }
    }
}

TEST(SoundControls, TheClockShowsTheDeviceVolumeWithoutWritingItBack) {
    SoundRig rig;
    rig.audio.deviceVolume = 32768u | (16384u << 16);  // left louder
    const int writes = rig.audio.volumeWrites;
    rig.loop.advance(1000);
    EXPECT_EQ(rig.sound().balance, 50);
    EXPECT_EQ(rig.sound().TrackBarVolume.value(), 5);
    rig.audio.deviceVolume = 13107u | (65535u << 16);  // right louder
    rig.loop.advance(1000);
    EXPECT_EQ(rig.sound().balance, -80);
    EXPECT_EQ(rig.sound().TrackBarVolume.value(), 0);
    rig.audio.deviceVolume = 0;  // silent: the balance stays as it was
    rig.loop.advance(1000);
    EXPECT_EQ(rig.sound().balance, -80);
    EXPECT_EQ(rig.sound().TrackBarVolume.value(), 10);
    EXPECT_EQ(rig.audio.volumeWrites, writes);
    rig.sound().volumeBusy = true;  // the user is moving the slider
    const int reads = rig.audio.volumeReads;
    rig.loop.advance(3000);
    EXPECT_EQ(rig.audio.volumeReads, reads);
}

TEST(SoundControls, ChoosingTheSoundCard) {
    SoundRig rig;
    rig.audio.names = {"Haut-parleurs", "Casque USB", "HDMI"};
    rig.audio.unreadableName = 1;
    rig.form.MenuCarteSon.click();
    SoundControls& s = rig.sound();
    EXPECT_TRUE(s.PanelCarteSon.visible());
    EXPECT_EQ(s.ComboBoxChoixOut.items(), (std::vector<std::string>{"Haut-parleurs", "HDMI"}));
    EXPECT_TRUE(s.BitBtnOKCarteSon.enabled());

    // "Je choisis" with nothing chosen: a beep and the panel stays.
    s.RadioButtonCarteMoi.setChecked(true);
    s.BitBtnOKCarteSon.click();
    EXPECT_EQ(rig.desktop.beeps, 1);
    EXPECT_TRUE(s.PanelCarteSon.visible());

    s.ComboBoxChoixOut.setItemIndex(1);  // HDMI is device 2: the unreadable one has no entry
    s.BitBtnOKCarteSon.click();
    EXPECT_FALSE(s.PanelCarteSon.visible());
    EXPECT_EQ(s.outputDevice(), 2);
    EXPECT_EQ(rig.player.outputDevice, 2);

    rig.form.MenuCarteSon.click();  // reopening shows the choice
    EXPECT_EQ(s.ComboBoxChoixOut.text(), "HDMI");
    s.RadioButtonCarteWin.setChecked(true);
    s.BitBtnOKCarteSon.click();
    EXPECT_EQ(s.outputDevice(), -1);
    EXPECT_EQ(rig.player.outputDevice, -1);
}

TEST(SoundControls, TheChoiceCannotBeConfirmedWhileAnnouncing) {
    SoundRig rig;
    rig.form.Button1.click();
    ASSERT_TRUE(rig.form.announcing);
    rig.form.MenuCarteSon.click();
    EXPECT_FALSE(rig.sound().BitBtnOKCarteSon.enabled());
    ASSERT_TRUE(rig.loop.advanceUntil([&] { return !rig.form.announcing; }, 60000));
    EXPECT_TRUE(rig.sound().BitBtnOKCarteSon.enabled());
}

}  // namespace
}  // namespace tintal

namespace tintal {
namespace {

TEST(SoundControls, AMonoClipsOwnLevelDoesNotTurnTheBalanceToOneSide) {
    SoundRig rig;
    // What the open stream of a mono clip reports: its one level in the left half, nothing on the right.
    rig.audio.deviceVolume = 0x0000FFFFu;
    rig.player.playClip("SON_heures");
    ASSERT_TRUE(rig.player.clipPlaying());
    rig.sound().ReadDeviceVolume();
    EXPECT_EQ(rig.sound().balance, 0);
    rig.loop.advance(400);  // the clock's tick reads too
    EXPECT_EQ(rig.sound().balance, 0);

    // The idle device reporting the same levels really is turned to the left.
    rig.loop.advance(2000);
    ASSERT_FALSE(rig.player.clipPlaying());
    rig.sound().ReadDeviceVolume();
    EXPECT_EQ(rig.sound().balance, 100);
}

}  // namespace
}  // namespace tintal
