#pragma once
// Date-times are days since 1899-12-30 (local time): the integer part is the date, the fraction the time.
#include <cstdint>

namespace tintal {

struct DateTimeFields {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
    int dayOfWeek = 7;  // 1 = Sunday .. 7 = Saturday
};

bool isLeapYear(int year);
int daysInMonth(int year, int month);
// Fields must be a valid calendar date and time of day (year 1..9999); dayOfWeek is ignored.
double encodeDateTime(const DateTimeFields& f);
double encodeDateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int ms = 0);
// Rounds to the nearest millisecond first, so 23:59:59.9999 does not come back as second 60.
DateTimeFields decodeDateTime(double dt);

constexpr double kMsPerDay = 86400000.0;

}  // namespace tintal
