#pragma once
// The per-second clock: shows the date and time and decides when an announcement is due.
#include "core/clock_fields.h"

namespace tintal {

class TForm1;
class MenuItem;

class ClockScheduler {
public:
    explicit ClockScheduler(TForm1& form) : form_(form) {}

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
    void announce();
    void hourItemClicked(MenuItem& item, char prefix, int& hourField, MenuItem& parent, const char* captionStart);

    TForm1& form_;
    ClockFields fields_;
};

}  // namespace tintal
