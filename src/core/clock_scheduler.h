#pragma once
// The per-second clock: shows the date and time and decides when an announcement is due.
#include <cstdint>

#include "core/clock_fields.h"

namespace tintal {

class TForm1;
class MenuItem;

class ClockScheduler {
public:
    // The tick falls this long after each wall-clock second: a timer that fires a hair early then
    // still reads the new second, and an announcement follows its minute within a few ms.
    static constexpr int kTickOffsetMs = 3;
    // Two scheduled announcements are never closer than this in real time: a wall clock set back
    // across an announced minute would otherwise announce it twice.
    static constexpr std::int64_t kMinScheduledSpacingMs = 60000;
    // A forward jump of the wall clock shorter than this that passes over a scheduled minute
    // announces at once; a longer one (a summer-time change) is a new time, not a missed minute.
    static constexpr int kMaxCatchUpMinutes = 59;

    explicit ClockScheduler(TForm1& form) : form_(form) {}

    // Milliseconds from the wall-clock instant localNow to the next tick instant (at least 1).
    static int msToNextTick(double localNow);

    // The handler of TimerSeconde.
    void TimerSecondeTimer();
    // Reads the clock into the fields and the date and time boxes.
    void readClock();
    // Whether an hour lies inside the announcement window [start, end) (which may wrap past midnight).
    bool hourInWindow(int hour) const;

    // Shared handlers of the D00..D24 and F00..F24 menu items.
    void D00Click(MenuItem& item);
    void F00Click(MenuItem& item);

    const ClockFields& fields() const { return fields_; }
    int windowStartHour = 0;
    int windowEndHour = 24;
    bool announcedThisMinute = false;
    int lastAnnouncedMinute = -1;
    int lastMonLogStamp = -1;

private:
    // Step 6 of the tick; returns true when the tick ends there.
    bool schedule();
    // Whether minute (0..59) of hour is an announcement instant of the current period and window.
    bool scheduled(int hour, int minute) const;
    // Whether the wall clock just jumped forward over a scheduled minute that never got a tick.
    bool jumpedOverScheduledMinute(std::int64_t stamp) const;
    void announce();
    // Re-arms TimerSeconde for the next tick instant, so drift and clock changes are followed.
    void alignTick();
    void hourItemClicked(MenuItem& item, char prefix, int& hourField, MenuItem& parent, const char* captionStart);

    TForm1& form_;
    ClockFields fields_;
    // Wall-clock minute counts (minutes since 1899-12-30) and monotonic instants of the last tick
    // and of the last scheduled announcement.
    std::int64_t tickStamp_ = -1;
    std::int64_t tickMonoMs_ = 0;
    std::int64_t previousTickStamp_ = -1;
    std::int64_t previousTickMonoMs_ = 0;
    bool scheduledOnce_ = false;
    std::int64_t scheduledMonoMs_ = 0;
};

}  // namespace tintal
