#include <gtest/gtest.h>

#include "fakes/main_window_rig.h"

namespace tintal {
namespace {

// Runs the clock from start for the given minutes and returns the local times (hh:mm) of the
// announcements it started. Clips are short so that an announcement fits well inside a minute.
struct ScheduleRun {
    explicit ScheduleRun(double start, int periodIndex, int startHour = 0, int endHour = 24, int clipMs = 300)
        : rig(start, clipMs) {
        rig.start();
        rig.form.UpDownPeriode.setValue(periodIndex);
        rig.form.HourMenuItems[startHour]->click();
        rig.form.HourMenuItems[25 + endHour]->click();
        rig.form.Button1.onClick = [this] {
            if (rig.form.sequencer.step() == 0 && !rig.form.announcing) {
                const DateTimeFields t = decodeDateTime(rig.loop.localNow());
                starts.push_back(t.hour * 100 + t.minute);
                msAfterMinute.push_back(t.second * 1000 + t.millisecond);
            }
            rig.form.sequencer.Button1Click();
        };
    }
    void runMinutes(int minutes) { rig.loop.advance(minutes * 60000LL); }
    MainWindowRig rig;
    std::vector<int> starts;
    std::vector<int> msAfterMinute;
};

TEST(ClockScheduler, Period15AnnouncesEachQuarterExactlyOnce) {
    ScheduleRun run(encodeDateTime(2026, 12, 1, 9, 59, 30), 3);
    run.runMinutes(61);
    EXPECT_EQ(run.starts, (std::vector<int>{1000, 1015, 1030, 1045, 1100}));
}

TEST(ClockScheduler, Periods20And60) {
    ScheduleRun twenty(encodeDateTime(2026, 12, 1, 9, 59, 30), 4);
    twenty.runMinutes(61);
    EXPECT_EQ(twenty.starts, (std::vector<int>{1000, 1020, 1040, 1100}));
    ScheduleRun hourly(encodeDateTime(2026, 12, 1, 9, 59, 30), 6);
    hourly.runMinutes(121);
    EXPECT_EQ(hourly.starts, (std::vector<int>{1000, 1100, 1200}));
}

TEST(ClockScheduler, WindowWrappingPastMidnight) {
    ScheduleRun run(encodeDateTime(2026, 12, 1, 21, 59, 30), 3, 22, 6);
    run.runMinutes(8 * 60 + 1);
    ASSERT_FALSE(run.starts.empty());
    EXPECT_EQ(run.starts.front(), 2200);
    EXPECT_NE(std::find(run.starts.begin(), run.starts.end(), 2300), run.starts.end());
    EXPECT_EQ(run.starts.back(), 545);  // 06:00 is outside the window
    EXPECT_EQ(run.starts.size(), 8u * 4u);
}

TEST(ClockScheduler, EqualHoursOrPeriodZeroNeverAnnounceButPollingGoesOn) {
    ScheduleRun same(encodeDateTime(2026, 12, 1, 7, 59, 30), 3, 8, 8);
    same.runMinutes(90);
    EXPECT_TRUE(same.starts.empty());

    ScheduleRun none(encodeDateTime(2026, 12, 1, 7, 59, 30), 0);
    none.rig.hooks.portSelected = true;
    const int pollsBefore = none.rig.hooks.polls;
    none.runMinutes(2);
    EXPECT_TRUE(none.starts.empty());
    EXPECT_GE(none.rig.hooks.polls - pollsBefore, 119);
}

TEST(ClockScheduler, AMinuteStillAnnouncingIsSkippedNotQueued) {
    // Clips of 40 s: the 10:00 announcement runs past 10:05.
    ScheduleRun run(encodeDateTime(2026, 12, 1, 9, 59, 30), 1, 0, 24, 40000);
    run.runMinutes(12);
    ASSERT_GE(run.starts.size(), 1u);
    EXPECT_EQ(run.starts[0], 1000);
    // Announcing 10:00 takes over seven minutes, so 10:05 is lost and 10:10 is the next one.
    ASSERT_EQ(run.starts.size(), 2u);
    EXPECT_EQ(run.starts[1], 1010);
}

TEST(ClockScheduler, AManualPressInAnAnnouncedMinuteStillAnnounces) {
    ScheduleRun run(encodeDateTime(2026, 12, 1, 9, 59, 58), 3);
    run.runMinutes(0);
    run.rig.loop.advance(20000);
    ASSERT_EQ(run.starts.size(), 1u);
    run.rig.form.Button1.click();
    EXPECT_TRUE(run.rig.form.announcing);
    EXPECT_EQ(run.starts.size(), 2u);
}

TEST(ClockScheduler, TheAnnouncementFollowsItsMinuteWhateverTheStartInstant) {
    for (const int startMs : {0, 1, 250, 499, 500, 501, 777, 998, 999}) {
        ScheduleRun run(encodeDateTime(2026, 12, 1, 9, 59, 40, startMs), 3);
        run.runMinutes(16);
        ASSERT_EQ(run.starts, (std::vector<int>{1000, 1015})) << startMs;
        for (const int late : run.msAfterMinute) {
            EXPECT_GE(late, 0) << startMs;
            EXPECT_LE(late, 20) << startMs;
        }
    }
}

TEST(ClockScheduler, TheTickNextInstantIsJustAfterTheNextSecond) {
    EXPECT_EQ(ClockScheduler::msToNextTick(encodeDateTime(2026, 12, 1, 9, 0, 0, 0)), 3);
    EXPECT_EQ(ClockScheduler::msToNextTick(encodeDateTime(2026, 12, 1, 9, 0, 0, 3)), 1000);
    EXPECT_EQ(ClockScheduler::msToNextTick(encodeDateTime(2026, 12, 1, 9, 0, 0, 500)), 503);
    // A tick that came a hair early still gets the second it was meant for.
    EXPECT_EQ(ClockScheduler::msToNextTick(encodeDateTime(2026, 12, 1, 9, 0, 59, 999)), 4);
    EXPECT_EQ(ClockScheduler::msToNextTick(encodeDateTime(2026, 12, 31, 23, 59, 59, 998)), 5);
}

// A time server steps the clock 15 s after the start: set back over an announced minute, that minute is
// not announced twice; set forward over a scheduled one, it is announced at once.
TEST(ClockScheduler, AStepOfTheClockNeitherRepeatsNorSkipsAScheduledMinute) {
    const struct {
        double start, steppedTo;
        int msAfterStep;
        std::vector<int> beforeStep, afterStep, quarterLater;
    } cases[] = {
        {encodeDateTime(2026, 12, 1, 9, 59, 50),
         encodeDateTime(2026, 12, 1, 9, 59, 58),
         30000,
         {1000},
         {1000},
         {1000, 1015}},
        {encodeDateTime(2026, 12, 1, 10, 13, 50),
         encodeDateTime(2026, 12, 1, 10, 16, 20),
         2000,
         {},
         {1016},
         {1016, 1030}},
    };
    for (const auto& c : cases) {
        ScheduleRun run(c.start, 3);
        run.rig.loop.advance(15000);
        EXPECT_EQ(run.starts, c.beforeStep) << c.afterStep[0];
        run.rig.loop.setLocalNow(c.steppedTo);
        run.rig.loop.advance(c.msAfterStep);
        EXPECT_EQ(run.starts, c.afterStep);
        run.runMinutes(15);
        EXPECT_EQ(run.starts, c.quarterLater) << c.afterStep[0];
    }
}

TEST(ClockScheduler, TheHourRepeatedAtTheEndOfSummerTimeIsAnnouncedAgain) {
    ScheduleRun run(encodeDateTime(2026, 10, 25, 2, 44, 50), 3);
    run.rig.loop.advance(15 * 60000);  // 02:59:50, summer time
    run.rig.loop.advance(9000);
    run.rig.loop.setLocalNow(encodeDateTime(2026, 10, 25, 1, 59, 59, 500));
    run.runMinutes(16);
    EXPECT_EQ(run.starts, (std::vector<int>{245, 200, 215}));
}

TEST(ClockScheduler, HourMenuItemsSetTheWindowAndCaption) {
    MainWindowRig rig(encodeDateTime(2026, 12, 1, 12, 0));
    rig.start();
    TForm1& f = rig.form;
    f.HourMenuItems[7]->click();
    EXPECT_EQ(f.clock.windowStartHour, 7);
    EXPECT_EQ(f.MenuDebutPlageHoraire.caption(), "Heure début (07h)");
    EXPECT_TRUE(f.D[7]->checked());
    EXPECT_FALSE(f.D[0]->checked());
    f.MenuDebutPlageHoraire.setCaption("changed");
    f.HourMenuItems[7]->click();  // already checked: nothing happens
    EXPECT_EQ(f.MenuDebutPlageHoraire.caption(), "changed");
    f.HourMenuItems[25 + 6]->click();
    EXPECT_EQ(f.clock.windowEndHour, 6);
    EXPECT_EQ(f.MenuFinPlageHoraire.caption(), "Heure fin (06h)");
    // A start-hour handler ignores an end-hour item.
    f.clock.D00Click(*f.F[3]);
    EXPECT_EQ(f.clock.windowStartHour, 7);
    EXPECT_FALSE(f.F[3]->checked());
}

TEST(ClockScheduler, StartUpRoutineAndTickCadence) {
    MainWindowRig rig(encodeDateTime(2026, 12, 1, 21, 1, 0));
    bool loaded = false;
    rig.form.onLoadSettings = [&] { loaded = true; };
    rig.form.FormCreate();
    rig.loop.advance(499);
    EXPECT_TRUE(rig.form.ConfigPending);
    EXPECT_FALSE(rig.form.Form1.visible());
    rig.loop.advance(1);
    EXPECT_TRUE(loaded);
    EXPECT_FALSE(rig.form.ConfigPending);
    EXPECT_FALSE(rig.form.Form1.visible());  // the settings place the windows (not at all when minimised)
    // Started half-way through a second, the clock re-aligns on the next second.
    EXPECT_EQ(rig.form.TimerSeconde.interval(), 503);
    EXPECT_EQ(rig.form.EditTime.text(), " 21:01:00");
    EXPECT_EQ(rig.form.EditDate.text(), " 01/12/2026");
    EXPECT_EQ(rig.form.Edit1.text(), "0");
    const int reads = rig.audio.volumeReads;
    rig.loop.advance(10000);
    EXPECT_EQ(rig.audio.volumeReads - reads, 10);
    EXPECT_EQ(rig.form.EditTime.text(), " 21:01:10");
    rig.form.UpDownPeriode.setValue(5);
    EXPECT_EQ(rig.form.Edit1.text(), "30");

    MainWindowRig bare(encodeDateTime(2026, 12, 1, 21, 1, 0));
    bare.start();
    EXPECT_TRUE(bare.form.Form1.visible());  // without settings the window shows at once
}

}  // namespace
}  // namespace tintal
