#pragma once

namespace tintal {

// The clock's reading at its last tick; the announcement speaks these, not the system clock.
struct ClockFields {
    double now = 0;
    int dayOfWeek = 1;  // 1 = Sunday
    int hour = 0, minute = 0, day = 1, month = 1, year = 2000;
};

}  // namespace tintal
