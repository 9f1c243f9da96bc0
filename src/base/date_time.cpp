#include "base/date_time.h"

#include <cmath>

namespace tintal {

namespace {

// Days from 0001-01-01 (day 0) in the proleptic Gregorian calendar; 1899-12-30 is day 693593.
constexpr std::int64_t kEpochOffset = 693594;

std::int64_t daysBeforeYear(int year) {
    const std::int64_t y = year - 1;
    return y * 365 + y / 4 - y / 100 + y / 400;
}

std::int64_t serialFromDate(int year, int month, int day) {
    std::int64_t days = daysBeforeYear(year);
    for (int m = 1; m < month; ++m) days += daysInMonth(year, m);
    return days + day - 1 - kEpochOffset + 1;
}

}  // namespace

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

double encodeDateTime(const DateTimeFields& f) {
    const double date = static_cast<double>(serialFromDate(f.year, f.month, f.day));
    const double time = ((f.hour * 60.0 + f.minute) * 60.0 + f.second) * 1000.0 + f.millisecond;
    // Before the epoch the fraction still counts forward from midnight, as the stored format has it.
    return date >= 0 ? date + time / kMsPerDay : date - time / kMsPerDay;
}

double encodeDateTime(int year, int month, int day, int hour, int minute, int second, int ms) {
    return encodeDateTime(DateTimeFields{year, month, day, hour, minute, second, ms, 0});
}

DateTimeFields decodeDateTime(double dt) {
    DateTimeFields f;
    double whole = std::trunc(dt);
    std::int64_t ms = std::llround(std::fabs(dt - whole) * kMsPerDay);
    if (ms >= static_cast<std::int64_t>(kMsPerDay)) {
        ms -= static_cast<std::int64_t>(kMsPerDay);
        whole += dt >= 0 ? 1 : -1;
    }
    std::int64_t serial = static_cast<std::int64_t>(whole);
    // 1899-12-30 was a Saturday (7).
    f.dayOfWeek = static_cast<int>(((serial % 7) + 7 + 6) % 7) + 1;

    std::int64_t n = serial + kEpochOffset - 1;  // days since 0001-01-01
    int year = static_cast<int>(n / 366) + 1;
    while (daysBeforeYear(year + 1) <= n) ++year;
    while (daysBeforeYear(year) > n) --year;
    int dayOfYear = static_cast<int>(n - daysBeforeYear(year));
    int month = 1;
    while (dayOfYear >= daysInMonth(year, month)) dayOfYear -= daysInMonth(year, month++);
    f.year = year;
    f.month = month;
    f.day = dayOfYear + 1;
    f.hour = static_cast<int>(ms / 3600000);
    f.minute = static_cast<int>(ms / 60000 % 60);
    f.second = static_cast<int>(ms / 1000 % 60);
    f.millisecond = static_cast<int>(ms % 1000);
    return f;
}

}  // namespace tintal
