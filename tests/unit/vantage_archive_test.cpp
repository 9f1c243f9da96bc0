#include "weather/stations/vantage_archive.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "base/date_time.h"
#include "base/numbers.h"
#include "fakes/station_files.h"
#include "fakes/test_data.h"
#include "weather/weather_reading.h"

namespace tintal {
namespace {

WlkFileRecord summary() {
    WlkFileRecord r;
    r.type = 2;
    r.clicks = 99;  // must never be counted as rain
    r.barometer = 1;
    return r;
}

constexpr WlkMonth kMarch2024{2024, 3};

VantageArchiveReading decodeOk(const std::vector<std::uint8_t>& file, WlkMonth month = kMarch2024, double offset = 0) {
    const VantageArchiveResult r = decodeVantageArchive(file, month, offset);
    EXPECT_EQ(r.error, WlkError::None);
    EXPECT_TRUE(r.reading.has_value());
    return r.reading.value_or(VantageArchiveReading{});
}

WlkError decodeError(const std::vector<std::uint8_t>& file, WlkMonth month = kMarch2024) {
    const VantageArchiveResult r = decodeVantageArchive(file, month, 0);
    EXPECT_EQ(r.error != WlkError::None, !r.reading.has_value());
    return r.error;
}

TEST(WlkFileName, ExtensionMustBeExactlyLowerCaseWlk) {
    for (const char* path : {"C:\\meteo\\2024-03.wlk", "/srv/wx/2024-03.wlk"}) {
        EXPECT_TRUE(hasWlkExtension(path)) << path;
    }
    // A dot in the folder is no extension.
    for (const char* path :
         {"C:\\meteo\\2024-03.WLK", "2024-03.Wlk", "2024-03.wlk.bak", "2024-03.wlkx", "C:\\old.wlk\\2024-03"}) {
        EXPECT_FALSE(hasWlkExtension(path)) << path;
    }
}

TEST(WlkFileName, YearIsFirstFourCharactersMonthSitsBetweenDashAndDot) {
    EXPECT_EQ(parseWlkFileName("C:\\Weatherlink\\Station\\2024-03.wlk"), (WlkMonth{2024, 3}));
    EXPECT_EQ(parseWlkFileName("/home/f4-abc/wx.1/2012-08.wlk"), (WlkMonth{2012, 8}));  // folder ignored
    EXPECT_EQ(parseWlkFileName("2024-3.wlk"), (WlkMonth{2024, 3}));
    EXPECT_EQ(parseWlkFileName("2024-11.copy.wlk"), (WlkMonth{2024, 11}));  // first dot
    EXPECT_EQ(parseWlkFileName("2024-13.wlk"), (WlkMonth{2024, 13}));       // range is the date's business
    for (const char* name : {"meteo-03.wlk", "2024-mars.wlk", "2024-.wlk", "202403.wlk", "2024.03-1.wlk", ""}) {
        EXPECT_FALSE(parseWlkFileName(name)) << name;
    }
}

TEST(WlkFileName, FollowUpLooksForTheCurrentMonthInTheSameFolder) {
    EXPECT_EQ(wlkFileName({2024, 4}), "2024-04.wlk");
    EXPECT_EQ(wlkFileName({2024, 12}), "2024-12.wlk");
    EXPECT_FALSE(wlkFollowUpPath("C:\\meteo\\2024-03.wlk", {2024, 3}, 2024, 3));
    // "2024-3.wlk" names the same month as March 2024: the comparison is numeric.
    EXPECT_FALSE(wlkFollowUpPath("C:\\meteo\\2024-3.wlk", {2024, 3}, 2024, 3));
    EXPECT_EQ(wlkFollowUpPath("C:\\meteo\\2024-03.wlk", {2024, 3}, 2024, 4), "C:\\meteo\\2024-04.wlk");
    EXPECT_EQ(wlkFollowUpPath("/var/wx/2024-12.wlk", {2024, 12}, 2025, 1), "/var/wx/2025-01.wlk");
    EXPECT_EQ(wlkFollowUpPath("/var/wx/2023-03.wlk", {2023, 3}, 2024, 3), "/var/wx/2024-03.wlk");
    EXPECT_EQ(wlkFollowUpPath("2024-03.wlk", {2024, 3}, 2024, 4), "2024-04.wlk");
}

TEST(VantageArchiveHeader, ShortOrInconsistentFilesFail) {
    EXPECT_EQ(decodeError({}), WlkError::ShortHeader);
    EXPECT_EQ(decodeError(std::vector<std::uint8_t>(kWlkHeaderSize - 1, 0)), WlkError::ShortHeader);

    std::vector<std::uint8_t> full = WlkFile().day(1, 3).add(WlkFileRecord{}, 3).bytes();
    ASSERT_EQ(full.size(), kWlkHeaderSize + 3 * kWlkRecordSize);
    decodeOk(full);
    full.pop_back();  // the last announced record is one byte short
    EXPECT_EQ(decodeError(full), WlkError::TruncatedRecords);

    EXPECT_EQ(decodeError(WlkFile().day(1, 1).add(WlkFileRecord{}).announce(2).bytes()), WlkError::TruncatedRecords);
    EXPECT_EQ(decodeError(WlkFile().day(1, 1).add(WlkFileRecord{}).announce(-5).bytes()), WlkError::BadRecordCount);
    EXPECT_EQ(decodeError(WlkFile().day(1, 1).add(WlkFileRecord{}).announce(0x7fffffff).bytes()),
              WlkError::TruncatedRecords);
}

TEST(VantageArchiveHeader, NoDataRecordFails) {
    EXPECT_EQ(decodeError(WlkFile().day(1, 1).add(WlkFileRecord{}).announce(0).bytes()), WlkError::NoDataRecord);
    EXPECT_EQ(decodeError(WlkFile().day(1, 2).add(summary(), 2).bytes()), WlkError::NoDataRecord);
    EXPECT_EQ(decodeError(WlkFile().day(1, 0).bytes()), WlkError::NoDataRecord);  // no data beats no day
}

TEST(VantageArchiveHeader, OnlyTheAnnouncedRecordsAreRead) {
    WlkFileRecord beyond;
    beyond.tempOut = 500;
    const VantageArchiveReading r =
        decodeOk(WlkFile().day(1, 2).add(WlkFileRecord{}).add(summary()).add(beyond).announce(2).bytes());
    EXPECT_EQ(r.latestIndex, 0u);
    EXPECT_EQ(r.recordCount, 2);
    EXPECT_DOUBLE_EQ(r.tempExt, 20.0);
}

TEST(VantageArchiveDate, DayIsTheLastDayWithRecords) {
    WlkFileRecord late;
    late.minutes = 1125;
    const auto dayOf = [&late](WlkFile b) { return decodeOk(b.add(late).bytes()).day; };
    EXPECT_EQ(dayOf(WlkFile().day(1, 1).day(2, 1).day(3, 1).day(4, 1).day(5, 1).day(6, 1)), 6);
    EXPECT_EQ(dayOf(WlkFile().day(1, 1).day(31, 1)), 31);
    // A station started on the 3rd or down for a day still dates its latest records right.
    EXPECT_EQ(dayOf(WlkFile().day(3, 1).day(4, 1)), 4);
    EXPECT_EQ(dayOf(WlkFile().day(1, 1).day(2, 1).day(4, 1).day(5, 1)), 5);
    // Entry 0 is not a day.
    EXPECT_EQ(decodeError(WlkFile().day(0, 5).add(late).bytes()), WlkError::BadDate);

    const VantageArchiveReading r = decodeOk(WlkFile().day(1, 1).day(2, 1).add(late).bytes());
    EXPECT_DOUBLE_EQ(r.observedAt, encodeDateTime(2024, 3, 2, 18, 45));
}

TEST(VantageArchiveDate, ImpossibleDatesFail) {
    const std::vector<std::uint8_t> day31 = WlkFile().day(31, 1).add(WlkFileRecord{}).bytes();
    EXPECT_EQ(decodeError(day31, {2024, 4}), WlkError::BadDate);
    EXPECT_EQ(decodeError(day31, {2024, 13}), WlkError::BadDate);
    EXPECT_EQ(decodeError(day31, {2024, 0}), WlkError::BadDate);
    EXPECT_EQ(decodeError(day31, {0, 3}), WlkError::BadDate);
    EXPECT_EQ(decodeError(WlkFile().day(1, 1).day(29, 1).add(WlkFileRecord{}).bytes(), {2023, 2}), WlkError::BadDate);
    decodeOk(WlkFile().day(1, 1).day(29, 1).add(WlkFileRecord{}).bytes(), {2024, 2});
    decodeOk(day31, {2024, 3});
}

TEST(VantageArchiveDate, EndOfPeriodMinutesGiveTheTime) {
    const auto at = [](std::uint16_t minutes, int day, WlkMonth month) {
        WlkFileRecord r;
        r.minutes = minutes;
        return decodeDateTime(decodeOk(WlkFile().day(1, 1).day(day, 1).add(r).bytes(), month).observedAt);
    };
    DateTimeFields f = at(1440, 14, kMarch2024);  // 24:00 on the 14th is midnight of the 15th
    EXPECT_EQ(f.day, 15);
    EXPECT_EQ(f.month, 3);
    EXPECT_EQ(f.hour, 0);
    EXPECT_EQ(f.minute, 0);
    f = at(1440, 31, {2024, 12});  // ... across the year
    EXPECT_EQ(f.year, 2025);
    EXPECT_EQ(f.month, 1);
    EXPECT_EQ(f.day, 1);
    EXPECT_EQ(f.hour, 0);
    f = at(1439, 14, kMarch2024);
    EXPECT_EQ(f.day, 14);
    EXPECT_EQ(f.hour, 23);
    EXPECT_EQ(f.minute, 59);
    EXPECT_EQ(f.second, 0);
    f = at(0, 14, kMarch2024);
    EXPECT_EQ(f.day, 14);
    EXPECT_EQ(f.hour, 0);
    f = at(61, 14, kMarch2024);
    EXPECT_EQ(f.hour, 1);
    EXPECT_EQ(f.minute, 1);

    WlkFileRecord beyond;
    beyond.minutes = 1500;  // 25:00 is no time of day
    EXPECT_EQ(decodeError(WlkFile().day(1, 1).add(beyond).bytes()), WlkError::BadDate);
}

TEST(VantageArchiveFigures, UnitConversions) {
    WlkFileRecord rec{
        .tempOut = 320, .tempIn = 212, .barometer = 29921, .humOut = 855, .humIn = 1000, .wind = 100, .gust = 253};
    const VantageArchiveReading r = decodeOk(WlkFile().day(1, 1).add(rec).bytes(), kMarch2024, 3);
    EXPECT_DOUBLE_EQ(r.tempExt, 0.0);
    EXPECT_DOUBLE_EQ(r.tempInt, -6.0);
    EXPECT_NEAR(r.pressure, 1013.0712022 + 3, 1e-9);
    EXPECT_EQ(formatFixed(r.pressure - 3, 1, '.'), "1013.1");
    EXPECT_DOUBLE_EQ(r.windSpeed, 16.09344);
    EXPECT_NEAR(r.gustSpeed, 40.7164032, 1e-9);
    EXPECT_DOUBLE_EQ(r.humidityExt, 85.5);
    EXPECT_DOUBLE_EQ(r.humidityInt, 100.0);

    // Below 0 °F the unsigned reading is far out of limits, and so shows as invalid.
    rec.tempOut = static_cast<std::uint16_t>(-15);
    rec.tempIn = 0x7fff;
    rec.barometer = 0;
    const VantageArchiveReading cold = decodeOk(WlkFile().day(1, 1).add(rec).bytes());
    EXPECT_FALSE(kTemperatureLimits.contains(cold.tempExt));
    EXPECT_GT(cold.tempExt, 60.0);
    EXPECT_FALSE(kTemperatureLimits.contains(cold.tempInt));
    EXPECT_DOUBLE_EQ(cold.pressure, 0.0);
}

TEST(VantageArchiveFigures, DirectionRoundsHalfToEvenAndLosesOutOfRangeCodes) {
    const auto direction = [](std::uint8_t code) {
        WlkFileRecord r;
        r.direction = code;
        return decodeOk(WlkFile().day(1, 1).add(r).bytes()).windDirection;
    };
    EXPECT_EQ(direction(0), 0);
    EXPECT_EQ(direction(1), 22);             // 22.5
    EXPECT_EQ(direction(3), 68);             // 67.5
    EXPECT_EQ(direction(9), 202);            // 202.5
    EXPECT_EQ(direction(15), 338);           // 337.5
    EXPECT_EQ(direction(16), kNoDirection);  // 360
    EXPECT_EQ(direction(255), kNoDirection);
}

TEST(VantageArchiveFigures, LatestDataRecordSkipsTrailingSummaries) {
    WlkFileRecord first, last;
    first.tempOut = 500;
    last.tempOut = 860;
    last.minutes = 605;
    const VantageArchiveReading r = decodeOk(WlkFile().day(1, 5).add(first).add(last).add(summary(), 3).bytes());
    EXPECT_EQ(r.latestIndex, 1u);
    EXPECT_DOUBLE_EQ(r.tempExt, 30.0);
    EXPECT_DOUBLE_EQ(r.observedAt, encodeDateTime(2024, 3, 1, 10, 5));
}

// Records whose barometer counts up by one thousandth of inHg per record from `start`.
WlkFile risingBarometer(int records, std::uint8_t interval, std::uint16_t start = 29000) {
    WlkFile b;
    b.day(1, static_cast<std::uint16_t>(records));
    for (int i = 0; i < records; ++i) {
        WlkFileRecord r;
        r.interval = interval;
        r.barometer = static_cast<std::uint16_t>(start + i);
        b.add(r);
    }
    return b;
}

TEST(VantageArchiveTrend, ComparesWithTheRecordOneHourBack) {
    // 5-minute records: twelve places back.
    VantageArchiveReading r = decodeOk(risingBarometer(30, 5).bytes(), kMarch2024, 7);
    EXPECT_EQ(r.trendBasis, WlkTrendBasis::Compared);
    EXPECT_NEAR(r.pressureChange, 12 / 1000.0 * 33.8582, 1e-12);  // the offset plays no part
    // 1-minute records: sixty places back.
    r = decodeOk(risingBarometer(100, 1).bytes());
    EXPECT_NEAR(r.pressureChange, 60 / 1000.0 * 33.8582, 1e-12);
    // A falling barometer gives a negative change.
    WlkFile falling = risingBarometer(13, 5);
    WlkFileRecord low;
    low.barometer = 28000;
    r = decodeOk(falling.add(low).bytes());
    EXPECT_NEAR(r.pressureChange, (28000 - 29001) / 1000.0 * 33.8582, 1e-12);
}

TEST(VantageArchiveTrend, LooksFurtherBackOverNonDataRecords) {
    // Index 0..4 data, 5 summary (the look-back point of L = 17), 6..17 data.
    WlkFile b = risingBarometer(5, 5, 29000);
    b.add(summary());
    for (int i = 0; i < 12; ++i) {
        WlkFileRecord r;
        r.barometer = static_cast<std::uint16_t>(29100 + i);
        b.add(r);
    }
    const VantageArchiveReading r = decodeOk(b.bytes());
    EXPECT_EQ(r.latestIndex, 17u);
    EXPECT_EQ(r.trendBasis, WlkTrendBasis::Compared);
    EXPECT_NEAR(r.pressureChange, (29111 - 29004) / 1000.0 * 33.8582, 1e-12);
}

TEST(VantageArchiveTrend, LookBackBoundaries) {
    // L = 12, k = 0: not looked back, although record 0 exists.
    EXPECT_EQ(decodeOk(risingBarometer(13, 5).bytes()).trendBasis, WlkTrendBasis::NoLookBack);
    // L = 13, k = 1.
    VantageArchiveReading r = decodeOk(risingBarometer(14, 5).bytes());
    EXPECT_EQ(r.trendBasis, WlkTrendBasis::Compared);
    EXPECT_NEAR(r.pressureChange, 12 / 1000.0 * 33.8582, 1e-12);
    // Interval 0: no look-back.
    EXPECT_EQ(decodeOk(risingBarometer(50, 0).bytes()).trendBasis, WlkTrendBasis::NoLookBack);
    // An interval over an hour compares the record with itself.
    r = decodeOk(risingBarometer(5, 120).bytes());
    EXPECT_EQ(r.trendBasis, WlkTrendBasis::Compared);
    EXPECT_DOUBLE_EQ(r.pressureChange, 0.0);
    // Nothing but summaries at and before the look-back point (k = 2).
    WlkFile onlySummaries;
    onlySummaries.day(1, 15).add(summary(), 3).add(WlkFileRecord{}, 12);
    EXPECT_EQ(decodeOk(onlySummaries.bytes()).trendBasis, WlkTrendBasis::NoEarlierRecord);
    // ... but a data record at index 0 is reached.
    WlkFile dataAtZero;
    dataAtZero.day(1, 15).add(WlkFileRecord{}).add(summary(), 2).add(WlkFileRecord{}, 12);
    EXPECT_EQ(decodeOk(dataAtZero.bytes()).trendBasis, WlkTrendBasis::Compared);
}

WlkFile rainyRecords(int records, std::uint8_t interval, std::uint8_t clicks, std::uint8_t collector) {
    WlkFile b;
    b.day(1, 1);
    WlkFileRecord r;
    r.interval = interval;
    r.clicks = clicks;
    r.collector = collector;
    b.add(r, records);
    return b;
}

TEST(VantageArchiveRain, SumsADayOfRecordsLessOne) {
    // 5-minute records: 287 of them, the latest included.
    VantageArchiveReading r = decodeOk(rainyRecords(400, 5, 1, 0x20).bytes());
    EXPECT_EQ(r.rainRecords, 287);
    EXPECT_EQ(r.rainClicks, 287);
    EXPECT_NEAR(r.rain24h, 287 * 0.2, 1e-9);
    // 1-minute records: 1439.
    r = decodeOk(rainyRecords(2000, 1, 2, 0x10).bytes());
    EXPECT_EQ(r.rainRecords, 1439);
    EXPECT_NEAR(r.rain24h, 2 * 1439 * 0.254, 1e-9);
    // 60-minute records: 23.
    EXPECT_EQ(decodeOk(rainyRecords(30, 60, 1, 0x30).bytes()).rainRecords, 23);
    // Stops at the start of the file.
    r = decodeOk(rainyRecords(10, 5, 3, 0x00).bytes());
    EXPECT_EQ(r.rainRecords, 10);
    EXPECT_NEAR(r.rain24h, 30 * 2.54, 1e-9);
    // Interval 0: the latest record alone.
    r = decodeOk(rainyRecords(10, 0, 3, 0x60).bytes());
    EXPECT_EQ(r.rainRecords, 1);
    EXPECT_NEAR(r.rain24h, 0.3, 1e-12);
}

TEST(VantageArchiveRain, SkipsNonDataRecordsWithoutCountingThem) {
    WlkFileRecord wet;
    wet.clicks = 1;
    WlkFile b;
    b.day(1, 1);
    // 300 data records with a summary pair after every 50, and summaries after the latest one.
    for (int i = 0; i < 6; ++i) b.add(wet, 50).add(summary(), 2);
    const VantageArchiveReading r = decodeOk(b.bytes());
    EXPECT_EQ(r.latestIndex, 6u * 52 - 3);
    EXPECT_EQ(r.rainRecords, 287);
    EXPECT_EQ(r.rainClicks, 287);
}

TEST(VantageArchiveRain, TheLatestRecordsCollectorDecides) {
    WlkFile b = rainyRecords(5, 5, 1, 0x00);  // 2.54 mm a click before ...
    WlkFileRecord last;
    last.clicks = 1;
    last.collector = 0x20;  // ... 0.2 mm now
    VantageArchiveReading r = decodeOk(b.add(last).bytes());
    EXPECT_NEAR(r.rain24h, 6 * 0.2, 1e-12);

    for (std::uint8_t unknown : {0x40, 0x50, 0x11, 0xFF}) {
        r = decodeOk(rainyRecords(5, 5, 1, unknown).bytes());
        EXPECT_DOUBLE_EQ(r.rain24h, kNoRain) << int(unknown);
    }
    // No rain is 0.0, not unknown.
    EXPECT_DOUBLE_EQ(decodeOk(rainyRecords(5, 5, 0, 0x10).bytes()).rain24h, 0.0);
}

// The real archives of tests/data.
class VantageArchiveRealFiles : public ::testing::Test {
protected:
    static std::vector<std::uint8_t> archive(const std::string& name) { return testDataBytes("wlk/" + name); }

    static void expectTime(double observedAt, int year, int month, int day, int hour, int minute) {
        const DateTimeFields f = decodeDateTime(observedAt);
        EXPECT_EQ(f.year, year);
        EXPECT_EQ(f.month, month);
        EXPECT_EQ(f.day, day);
        EXPECT_EQ(f.hour, hour);
        EXPECT_EQ(f.minute, minute);
        EXPECT_EQ(f.second, 0);
    }

    static void setRecordCount(std::vector<std::uint8_t>& file, std::uint32_t n) {
        for (int i = 0; i < 4; ++i) file[16 + i] = static_cast<std::uint8_t>(n >> (8 * i));
    }
};

#define LOAD_ARCHIVE(var, name)                          \
    const std::vector<std::uint8_t> var = archive(name); \
    ASSERT_FALSE(var.empty()) << "missing from the build: " << (name)

TEST_F(VantageArchiveRealFiles, FiveMinuteArchiveOfApril2016) {
    LOAD_ARCHIVE(file, "2016-04.wlk");
    ASSERT_EQ(file.size(), 632052u);
    const std::optional<WlkMonth> month = parseWlkFileName("2016-04.wlk");
    ASSERT_TRUE(month);
    const VantageArchiveReading r = decodeOk(file, *month, 0);
    EXPECT_EQ(r.recordCount, 7180);
    EXPECT_EQ(r.latestIndex, 7179u);
    EXPECT_EQ(r.day, 25);
    EXPECT_EQ(r.archiveInterval, 5);
    expectTime(r.observedAt, 2016, 4, 25, 18, 45);
    EXPECT_NEAR(r.tempExt, 25.444, 0.001);     // 77.8 °F
    EXPECT_NEAR(r.tempInt, 28.944, 0.001);     // 84.1 °F
    EXPECT_NEAR(r.pressure, 1009.855, 0.001);  // 29.826 inHg
    EXPECT_EQ(r.trendBasis, WlkTrendBasis::Compared);
    EXPECT_NEAR(r.pressureChange, -0.3047, 0.0001);  // against 29.835 inHg at index 7167
    EXPECT_NEAR(r.windSpeed, 6.437, 0.001);
    EXPECT_NEAR(r.gustSpeed, 17.703, 0.001);
    EXPECT_EQ(r.windDirection, 202);
    EXPECT_DOUBLE_EQ(r.humidityExt, 42.0);
    EXPECT_DOUBLE_EQ(r.humidityInt, 31.0);
    EXPECT_EQ(r.rainRecords, 287);
    EXPECT_DOUBLE_EQ(r.rain24h, 0.0);
}

TEST_F(VantageArchiveRealFiles, EarlierRecordsOfApril2016) {
    LOAD_ARCHIVE(original, "2016-04.wlk");
    // With the count cut short, the latest record is an earlier one; its 24 hours cross day
    // boundaries, where each day starts with two summary records.
    std::vector<std::uint8_t> file = original;
    setRecordCount(file, 1700);
    VantageArchiveReading r = decodeOk(file, {2016, 4}, 0);
    EXPECT_EQ(r.latestIndex, 1699u);
    const DateTimeFields f = decodeDateTime(r.observedAt);
    EXPECT_EQ(f.hour, 21);
    EXPECT_EQ(f.minute, 0);
    EXPECT_NEAR(r.tempExt, 11.111, 0.001);
    EXPECT_NEAR(r.pressure, 1009.042, 0.001);
    EXPECT_NEAR(r.pressureChange, 0.8465, 0.0001);
    EXPECT_EQ(r.windDirection, 248);  // code 11, 247.5
    EXPECT_DOUBLE_EQ(r.humidityExt, 91.0);
    EXPECT_EQ(r.rainClicks, 30);
    EXPECT_NEAR(r.rain24h, 7.62, 1e-9);

    setRecordCount(file, 6002);
    r = decodeOk(file, {2016, 4}, 0);
    EXPECT_EQ(r.latestIndex, 6001u);
    EXPECT_NEAR(r.pressureChange, -0.1016, 0.0001);
    EXPECT_EQ(r.rainClicks, 4);
    EXPECT_NEAR(r.rain24h, 1.016, 1e-9);

    // The whole file less its last byte is truncated.
    file = original;
    file.pop_back();
    EXPECT_EQ(decodeError(file, {2016, 4}), WlkError::TruncatedRecords);
}

TEST_F(VantageArchiveRealFiles, OneMinuteArchivesEndAtMidnight) {
    LOAD_ARCHIVE(feb, "2012-02.wlk");
    // Days 1 to 29 of a leap February; the last record ends at 24:00.
    VantageArchiveReading r = decodeOk(feb, {2012, 2}, 0);
    EXPECT_EQ(r.recordCount, 41818);
    EXPECT_EQ(r.day, 29);
    expectTime(r.observedAt, 2012, 3, 1, 0, 0);
    EXPECT_NEAR(r.tempExt, 5.444, 0.001);
    EXPECT_NEAR(r.tempInt, 20.278, 0.001);
    EXPECT_NEAR(r.pressure, 1022.450, 0.001);
    EXPECT_NEAR(r.pressureChange, 0.8803, 0.0001);
    EXPECT_NEAR(r.windSpeed, 1.609, 0.001);
    EXPECT_NEAR(r.gustSpeed, 3.219, 0.001);
    EXPECT_EQ(r.windDirection, 225);
    EXPECT_DOUBLE_EQ(r.humidityExt, 84.0);
    EXPECT_EQ(r.rainRecords, 1439);
    EXPECT_DOUBLE_EQ(r.rain24h, 0.0);

    LOAD_ARCHIVE(aug, "2012-08.wlk");
    r = decodeOk(aug, {2012, 8}, 0);
    EXPECT_EQ(r.day, 31);
    expectTime(r.observedAt, 2012, 9, 1, 0, 0);
    EXPECT_NEAR(r.tempExt, 14.444, 0.001);
    EXPECT_NEAR(r.pressure, 1014.764, 0.001);
    EXPECT_NEAR(r.pressureChange, 0.7787, 0.0001);
    EXPECT_EQ(r.windDirection, 270);
    EXPECT_DOUBLE_EQ(r.humidityExt, 91.0);
    EXPECT_EQ(r.rainClicks, 256);
    EXPECT_NEAR(r.rain24h, 51.2, 1e-9);
}

}  // namespace
}  // namespace tintal
