#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "fakes/main_window_rig.h"

namespace tintal {
namespace {

using Names = std::vector<std::string>;

// Tuesday 1 December 2026.
double at(int hour, int minute, int second = 0, int year = 2026, int month = 12, int day = 1) {
    return encodeDateTime(year, month, day, hour, minute, second);
}

// A started clock at `when`, with these parts of the announcement left out.
struct ClockWithout : MainWindowRig {
    ClockWithout(double when, std::initializer_list<TickBox TForm1::*> off) : MainWindowRig(when) {
        start();
        for (TickBox TForm1::*part : off) (form.*part).setChecked(false);
    }
};

TEST(Sequencer, DefaultAnnouncementOfTheExample) {
    MainWindowRig rig(at(21, 1));
    rig.start();
    ASSERT_TRUE(rig.announceNow());
    EXPECT_EQ(rig.player.names(), (Names{"tintal.wav", "son_mardi", "son1_premier", "son_decembre", "son2000", "son26",
                                         "son_il_est", "son21_une", "son_heures_N", "son1_une", "son_minutes"}));
    EXPECT_TRUE(rig.player.requests[0].isFile);
    EXPECT_FALSE(rig.player.requests[1].isFile);
    EXPECT_EQ(rig.form.EditData.text(), "TINTAL_DONE");
    EXPECT_TRUE(rig.form.Button1.enabled());
    EXPECT_FALSE(rig.form.TimerSecurite.enabled());
    EXPECT_EQ(rig.form.sequencer.step(), 0);
    EXPECT_EQ(rig.hooks.reconnects, 1);  // no companion asked for it: the link is renewed
    EXPECT_EQ(rig.hooks.companionDone, 0);
}

TEST(Sequencer, TimePartWithAndWithoutMinutes) {
    ClockWithout rig(at(10, 0), {&TForm1::CheckBoxTintal, &TForm1::CheckBoxDate, &TForm1::CheckBoxIlEst});
    ASSERT_TRUE(rig.announceNow());
    EXPECT_EQ(rig.player.names(), (Names{"son10", "Son_Heures_Z", "son0", "son_minutes"}));

    rig.player.requests.clear();
    rig.loop.setLocalNow(at(10, 0));
    rig.loop.advance(1000);  // the next tick reads the clock
    rig.form.CheckBoxNoMinutes.setChecked(true);
    EXPECT_FALSE(rig.form.CheckBoxheure.checked());  // the two boxes exclude each other
    ASSERT_TRUE(rig.announceNow());
    EXPECT_EQ(rig.player.names(), (Names{"son10", "Son_Heures_Z"}));

    // Without the minutes word, a minute other than 0 is still spoken.
    rig.player.requests.clear();
    rig.loop.setLocalNow(at(0, 21));
    rig.loop.advance(1000);
    ASSERT_TRUE(rig.announceNow());
    EXPECT_EQ(rig.player.names(), (Names{"son0", "son_heures", "son21_une"}));

    rig.form.CheckBoxheure.setChecked(true);
    EXPECT_FALSE(rig.form.CheckBoxNoMinutes.checked());
}

TEST(Sequencer, NoHourNoMinutesWhenBothBoxesAreOff) {
    ClockWithout rig(at(1, 5), {&TForm1::CheckBoxTintal, &TForm1::CheckBoxDate, &TForm1::CheckBoxheure});
    ASSERT_TRUE(rig.announceNow());
    EXPECT_EQ(rig.player.names(), (Names{"son_il_est"}));
}

TEST(Sequencer, YearsOutsideTheCatalogueAndFirstDays) {
    const struct {
        int year;
        Names date;
    } cases[] = {
        {2000, {"son_samedi", "son1_premier", "son_janvier"}},
        {2001, {"son_lundi", "son1_premier", "son_janvier", "son2000", "son1"}},
        {2059, {"son_mercredi", "son1_premier", "son_janvier", "son2000", "son59"}},
        {2060, {"son_jeudi", "son1_premier", "son_janvier"}},
    };
    for (const auto& c : cases) {
        ClockWithout rig(at(1, 0, 0, c.year, 1, 1), {&TForm1::CheckBoxTintal});
        ASSERT_TRUE(rig.announceNow());
        Names expected = c.date;
        for (const char* n : {"son_il_est", "son1_une", "son_heures_N", "son0", "son_minutes"}) expected.push_back(n);
        EXPECT_EQ(rig.player.names(), expected) << c.year;
    }
    ClockWithout rig(at(5, 41, 0, 2026, 12, 21), {&TForm1::CheckBoxTintal});
    ASSERT_TRUE(rig.announceNow());
    EXPECT_EQ(rig.player.names(), (Names{"son_lundi", "son21", "son_decembre", "son2000", "son26", "son_il_est", "son5",
                                         "son_heures_K", "son41_une", "son_minutes"}));
}

TEST(Sequencer, HeaderPauseCuckooAndClosingFiles) {
    MainWindowRig rig(at(9, 30));
    rig.start();
    rig.form.CheckBoxEntete.setChecked(true);
    rig.form.headerFilePath = "entete.wav";
    rig.form.closingFilePath = "fin.wav";
    rig.form.CheckBoxFin.setChecked(true);
    rig.form.SpinEditPause.setValue(3);
    rig.form.CheckBoxDate.setChecked(false);
    ASSERT_TRUE(rig.announceNow());
    // The header plays at once; the pause sits between the header and the cuckoo.
    ASSERT_GE(rig.player.startedAt.size(), 2u);
    EXPECT_GE(rig.player.startedAt[1] - rig.player.startedAt[0], 1000 + 50 + 3000);
    EXPECT_LT(rig.player.startedAt[1] - rig.player.startedAt[0], 1000 + 50 + 3000 + 100);
    EXPECT_EQ(rig.player.names(), (Names{"entete.wav", "tintal.wav", "son_il_est", "son9", "Son_Heures_V", "son30",
                                         "son_minutes", "fin.wav"}));
}

TEST(Sequencer, EverythingOffStillRunsThePauseAndEnds) {
    ClockWithout rig(at(12, 0),
                     {&TForm1::CheckBoxTintal, &TForm1::CheckBoxDate, &TForm1::CheckBoxIlEst, &TForm1::CheckBoxheure});
    rig.form.SpinEditPause.setValue(2);
    std::vector<std::string> status;
    std::vector<bool> buttonEnabled;
    rig.form.EditData.onChange = [&] { status.push_back(rig.form.EditData.text()); };
    rig.form.Button1.setRenderer([&] { buttonEnabled.push_back(rig.form.Button1.enabled()); });
    const auto before = rig.loop.monotonicMs();
    rig.form.Button1.click();
    // The pause and the end ran inside the press itself: nothing was there to play.
    EXPECT_GE(rig.loop.monotonicMs() - before, 2000);
    EXPECT_FALSE(rig.form.announcing);
    EXPECT_TRUE(rig.player.names().empty());
    EXPECT_EQ(status, (std::vector<std::string>{"TINTAL_PLAY", "TINTAL_DONE"}));
    EXPECT_EQ(buttonEnabled, (std::vector<bool>{false, true}));
}

TEST(Sequencer, StartRequestsWhileAnnouncingAreRefused) {
    MainWindowRig rig(at(21, 1));
    rig.start();
    rig.form.Button1.click();
    ASSERT_TRUE(rig.form.announcing);
    ASSERT_EQ(rig.form.sequencer.step(), 2);  // the cuckoo is playing
    rig.form.Button1.click();                 // a clock, serial line or companion request
    EXPECT_EQ(rig.form.sequencer.step(), 2);
    EXPECT_EQ(rig.player.ignoredWhilePlaying, 0);
    // The announcement goes on intact.
    ASSERT_TRUE(rig.loop.advanceUntil([&] { return !rig.form.announcing; }, 60000));
    EXPECT_EQ(rig.player.names().size(), 11u);
}

// A start request (clock, line, companion) made once, ms from now.
void requestOnceAfter(MainWindowRig& rig, int ms) {
    auto id = std::make_shared<EventLoop::TimerId>();
    *id = rig.loop.startTimer(ms, [&rig, id] {
        rig.loop.stopTimer(*id);
        rig.form.Button1.click();
    });
}

TEST(Sequencer, StartRequestsDuringTheWaitsOfAStepAreRefused) {
    MainWindowRig rig(at(21, 1));
    rig.start();
    rig.form.SpinEditPause.setValue(3);
    // A request one second into the pause must not start the pause again.
    requestOnceAfter(rig, 1000);
    const auto before = rig.loop.monotonicMs();
    rig.form.Button1.click();
    ASSERT_FALSE(rig.player.startedAt.empty());
    EXPECT_EQ(rig.player.startedAt.front() - before, 3000);
    ASSERT_TRUE(rig.loop.advanceUntil([&] { return !rig.form.announcing; }, 60000));
    const Names names = rig.player.names();
    EXPECT_EQ(std::count(names.begin(), names.end(), "tintal.wav"), 1);
    EXPECT_EQ(names.size(), 11u);
}

TEST(Sequencer, StartRequestsDuringTheSafetyAbortAreRefused) {
    MainWindowRig rig(at(21, 1));
    rig.start();
    rig.player.failures["tintal.wav"] = "Err: Nom Fichier Wave";
    // Half-way through the abort's one-second wait, a companion or a line asks for an announcement.
    requestOnceAfter(rig, 500);
    rig.form.Button1.click();
    EXPECT_FALSE(rig.form.announcing);
    EXPECT_EQ(rig.form.EditData.text(), "Err: Nom Fichier Wave");
    // Nothing was played after the error, so nothing holds the sound device.
    EXPECT_EQ(rig.player.names(), Names{"tintal.wav"});
    EXPECT_FALSE(rig.player.clipPlaying());
    rig.loop.advance(5000);
    EXPECT_EQ(rig.player.names(), Names{"tintal.wav"});
}

TEST(Sequencer, NothingStartsBeforeTheSettingsAreLoadedOrWithCarrier) {
    MainWindowRig rig(at(21, 1));
    rig.form.FormCreate();
    rig.form.Button1.click();
    EXPECT_FALSE(rig.form.announcing);
    rig.loop.advance(500);
    rig.hooks.carrier = true;
    rig.form.Button1.click();
    EXPECT_FALSE(rig.form.announcing);
    EXPECT_TRUE(rig.player.names().empty());
    rig.hooks.carrier = false;
    ASSERT_TRUE(rig.announceNow());
}

TEST(Sequencer, KeysTheTransmitterAndWaitsBeforeTheFirstClip) {
    MainWindowRig rig(at(21, 1));
    rig.start();
    rig.hooks.portSelected = true;
    rig.form.MenuRecord.setChecked(true);
    const auto before = rig.loop.monotonicMs();
    rig.form.Button1.click();
    EXPECT_EQ(rig.hooks.keyed, 1);
    EXPECT_GE(rig.loop.monotonicMs() - before, 300);
    EXPECT_EQ(rig.hooks.recorderStarts, 1);
    EXPECT_EQ(rig.hooks.handshakeMarks, 1);
    ASSERT_TRUE(rig.loop.advanceUntil([&] { return !rig.form.announcing; }, 60000));
    EXPECT_EQ(rig.hooks.released, 1);
    EXPECT_EQ(rig.hooks.recorderStops, 1);
}

TEST(Sequencer, CompanionRequestIsAnsweredInsteadOfReconnecting) {
    MainWindowRig rig(at(21, 1));
    rig.start();
    rig.form.sequencer.companionRequested = true;
    ASSERT_TRUE(rig.announceNow());
    EXPECT_EQ(rig.hooks.companionDone, 1);
    EXPECT_EQ(rig.hooks.reconnects, 0);
    EXPECT_FALSE(rig.form.sequencer.companionRequested);
}

TEST(Sequencer, TheTimeIsReadAtEachStep) {
    MainWindowRig rig(at(10, 14, 57));
    rig.start();
    ASSERT_TRUE(rig.announceNow());
    // The clips take about a second each, so the hour is spoken after 10:15 has come.
    const Names names = rig.player.names();
    EXPECT_EQ(names[names.size() - 2], "son15");
}

TEST(Sequencer, AClipErrorAbortsWithItsText) {
    MainWindowRig rig(at(21, 1));
    rig.start();
    rig.player.failures["tintal.wav"] = "Err: Nom Fichier Wave";
    rig.form.Button1.click();
    EXPECT_FALSE(rig.form.announcing);
    EXPECT_EQ(rig.form.EditData.text(), "Err: Nom Fichier Wave");
    EXPECT_TRUE(rig.form.Button1.enabled());
    EXPECT_EQ(rig.form.sequencer.step(), 0);
    EXPECT_FALSE(rig.form.TimerSecurite.enabled());
    EXPECT_EQ(rig.player.releases, 1);
    EXPECT_EQ(rig.hooks.released, 1);  // an aborted announcement must not leave the transmitter keyed
    // The next press starts a fresh announcement.
    rig.player.failures.clear();
    ASSERT_TRUE(rig.announceNow());
    EXPECT_EQ(rig.player.names().size(), 12u);
}

TEST(Sequencer, ErrorSimulationHoldsTheButtonUntilTheSafetyAbort) {
    MainWindowRig rig(at(21, 1));
    rig.start();
    rig.form.MenuSimuErreur.click();
    EXPECT_EQ(rig.form.EditData.text(), "simu erreur");
    rig.form.Button1.click();
    rig.loop.advance(119000);
    EXPECT_FALSE(rig.form.Button1.enabled());
    EXPECT_TRUE(rig.form.announcing);
    rig.loop.advance(1000);
    rig.loop.advance(1000);  // the abort's own one-second wait
    EXPECT_TRUE(rig.form.Button1.enabled());
    EXPECT_FALSE(rig.form.announcing);
    EXPECT_TRUE(rig.player.names().empty());
    rig.form.MenuSimuErreur.click();
    EXPECT_EQ(rig.form.EditData.text(), "raz simu err");
}

TEST(Sequencer, SafetyAbortSparesAClipStillSounding) {
    MainWindowRig rig(at(21, 1));
    rig.start();
    rig.player.hangOn = "son_il_est";
    rig.form.Button1.click();
    rig.loop.advance(125000);
    // The clip never finished: the safety timer fired, saw it playing, and left it alone.
    EXPECT_TRUE(rig.form.announcing);
    EXPECT_FALSE(rig.form.TimerSecurite.enabled());
}

}  // namespace
}  // namespace tintal
