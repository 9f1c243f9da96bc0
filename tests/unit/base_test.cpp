#include <gtest/gtest.h>

#include "base/date_time.h"
#include "base/numbers.h"
#include "base/text_encoding.h"

namespace tintal {
namespace {

TEST(DateTime, KnownSerialsAndDaysOfWeek) {
    EXPECT_DOUBLE_EQ(encodeDateTime(1899, 12, 30), 0.0);
    EXPECT_DOUBLE_EQ(encodeDateTime(2026, 12, 1), 46357.0);
    EXPECT_DOUBLE_EQ(encodeDateTime(2000, 2, 29), 36585.0);
    EXPECT_DOUBLE_EQ(encodeDateTime(9999, 12, 31), 2958465.0);
    EXPECT_DOUBLE_EQ(encodeDateTime(2026, 12, 1, 18, 0), 46357.75);
    EXPECT_EQ(decodeDateTime(46357.0).dayOfWeek, 3);  // Tuesday
    EXPECT_EQ(decodeDateTime(0.0).dayOfWeek, 7);      // Saturday
    EXPECT_EQ(decodeDateTime(46355.0).dayOfWeek, 1);  // Sunday 29 November 2026
}

TEST(DateTime, RoundTripsEveryDayAndTimesNearMidnight) {
    for (double serial = -1000; serial < 80000; serial += 1) {
        const DateTimeFields f = decodeDateTime(serial);
        ASSERT_DOUBLE_EQ(encodeDateTime(f), serial) << f.year << '-' << f.month << '-' << f.day;
        ASSERT_GE(f.day, 1);
        ASSERT_LE(f.day, daysInMonth(f.year, f.month));
    }
    const DateTimeFields late = decodeDateTime(encodeDateTime(2026, 12, 31, 23, 59, 59, 999));
    EXPECT_EQ(late.year, 2026);
    EXPECT_EQ(late.second, 59);
    EXPECT_EQ(late.millisecond, 999);
    // Within half a millisecond of midnight counts as the next day, never as second 60.
    const DateTimeFields next = decodeDateTime(encodeDateTime(2027, 1, 1) - 0.0000000001);
    EXPECT_EQ(next.year, 2027);
    EXPECT_EQ(next.hour, 0);
}

TEST(DateTime, LeapYearsAndMonthLengths) {
    EXPECT_TRUE(isLeapYear(2000));
    EXPECT_FALSE(isLeapYear(1900));
    EXPECT_TRUE(isLeapYear(2028));
    EXPECT_EQ(daysInMonth(2027, 2), 28);
    EXPECT_EQ(daysInMonth(2028, 2), 29);
    EXPECT_EQ(daysInMonth(2026, 13), 0);
}

TEST(Numbers, RoundHalfEven) {
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(-3.5), -4);
    EXPECT_EQ(roundHalfEven(9.7), 10);
    EXPECT_EQ(roundHalfEven(-0.4), 0);
    EXPECT_EQ(roundHalfEven(1012.5), 1012);
    EXPECT_EQ(roundHalfEven(0.5), 0);
    EXPECT_EQ(roundHalfEven(2.4999999), 2);
}

TEST(Numbers, StrictToIntTakesOnlySignAndDigitsIn32Bits) {
    EXPECT_EQ(strictToInt("42"), 42);
    EXPECT_EQ(strictToInt("-7"), -7);
    EXPECT_EQ(strictToInt("+15"), 15);
    EXPECT_EQ(strictToInt("2147483647"), 2147483647);
    EXPECT_EQ(strictToInt("-2147483648"), -2147483647 - 1);
    for (const char* bad : {"", "-", "+", " 1", "1 ", "1.0", "0x10", "$10", "2147483648", "-2147483649",
                            "99999999999999999999", "1e3", "--1"}) {
        EXPECT_FALSE(strictToInt(bad).has_value()) << bad;
    }
}

TEST(Numbers, FixedDecimalsWithTheLocaleSeparator) {
    EXPECT_EQ(formatFixed(12.26, 1, ','), "12,3");
    EXPECT_EQ(formatFixed(8.25, 1, ','), "8,3");  // halves away from zero, whatever the C library does
    EXPECT_EQ(formatFixed(-8.25, 1, ','), "-8,3");
    EXPECT_EQ(formatFixed(-0.04, 1, ','), "0,0");
    EXPECT_EQ(formatFixed(0.05, 2, '.'), "0.05");
    EXPECT_EQ(formatFixed(183.6, 0, ','), "184");
    EXPECT_EQ(formatFixed(1013.0, 1, ','), "1013,0");
    EXPECT_EQ(formatFixed(-0.5, 2, '.'), "-0.50");
    EXPECT_EQ(formatFixed(7, 0, ','), "7");
}

TEST(TextEncoding, FrenchTextRoundTripsThroughWindows1252) {
    const std::string text = "TINTAL connecté — Météo: température, grêle, 12 °C, 5 €, œuf";
    const std::string bytes = utf8ToCp1252(text);
    EXPECT_EQ(cp1252ToUtf8(bytes), text);
    const std::string connected = utf8ToCp1252("TINTAL connecté");
    EXPECT_EQ(connected.size(), 15u);
    EXPECT_EQ(static_cast<unsigned char>(connected.back()), 0xE9);
    EXPECT_EQ(static_cast<unsigned char>(utf8ToCp1252("€")[0]), 0x80);
    EXPECT_EQ(static_cast<unsigned char>(utf8ToCp1252("°")[0]), 0xB0);
}

TEST(TextEncoding, UnmappableAndInvalidInput) {
    EXPECT_EQ(utf8ToCp1252("日本"), "??");
    EXPECT_EQ(utf8ToCp1252("a\xE9z"), "a\xE9z");      // a stray Windows-1252 byte is kept as it is
    EXPECT_EQ(utf8ToCp1252("\xC3"), "\xC3");          // truncated sequence
    EXPECT_EQ(utf8ToCp1252("\xC0\x80"), "\xC0\x80");  // overlong form is not UTF-8
    EXPECT_EQ(cp1252ToUtf8("\x81"), "\xC2\x81");
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        ASSERT_EQ(utf8ToCp1252(cp1252ToUtf8(one)), one) << b;
    }
}

}  // namespace
}  // namespace tintal
