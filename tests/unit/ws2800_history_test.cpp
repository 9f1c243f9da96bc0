#include "weather/stations/ws2800_history.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "base/date_time.h"
#include "fakes/station_files.h"
#include "fakes/test_data.h"
#include "weather/weather_reading.h"

namespace tintal {
namespace {

constexpr double kMinute = 1.0 / 1440.0;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// `count` records `interval` days apart ending at `last`, with pressure = base + index (to tell them apart).
std::vector<Ws2800FileRecord> series(std::size_t count, double interval, double last = 38474.5) {
    std::vector<Ws2800FileRecord> recs(count);
    for (std::size_t i = 0; i < count; ++i) {
        recs[i].time = last - static_cast<double>(count - 1 - i) * interval;
        recs[i].absolute = 990.0f + static_cast<float>(i);
        recs[i].relative = 1010.0f + 2.0f * static_cast<float>(i);
    }
    return recs;
}

Ws2800Reading decode(const std::vector<Ws2800FileRecord>& recs, Ws2800Pressure kind = Ws2800Pressure::Absolute,
                     double offset = 0) {
    const auto bytes = ws2800History(recs);
    const auto got = decodeWs2800History(bytes, kind, offset);
    EXPECT_TRUE(got.has_value());
    return got.value_or(Ws2800Reading{});
}

TEST(Ws2800History, FilesWithoutACompleteRecordGiveNothing) {
    const std::vector<std::uint8_t> empty;
    EXPECT_FALSE(decodeWs2800History(empty, Ws2800Pressure::Absolute, 0));
    auto bytes = ws2800History({Ws2800FileRecord{}});
    bytes.pop_back();  // 55 bytes
    EXPECT_EQ(ws2800RecordCount(bytes), 0u);
    EXPECT_FALSE(decodeWs2800History(bytes, Ws2800Pressure::Relative, 0));
}

TEST(Ws2800History, TrailingPartialRecordIsIgnored) {
    Ws2800FileRecord older, last;
    older.time = 38474.5 - kMinute;
    older.rain = 0.5f;
    last.rain = 0.25f;
    last.tempExt = -7.5f;
    auto bytes = ws2800History({older, older, last});
    const auto whole = decodeWs2800History(bytes, Ws2800Pressure::Absolute, 0);
    // A record being written: its first 40 bytes say something else entirely.
    auto half = ws2800History({Ws2800FileRecord{.time = 40000.0, .absolute = 1.0f, .tempExt = 50.0f}});
    bytes.insert(bytes.end(), half.begin(), half.begin() + 40);
    const auto cut = decodeWs2800History(bytes, Ws2800Pressure::Absolute, 0);
    ASSERT_TRUE(whole && cut);
    EXPECT_EQ(cut->recordCount, 3u);
    EXPECT_DOUBLE_EQ(cut->observedAt, 38474.5);
    EXPECT_DOUBLE_EQ(cut->tempExt, -7.5);
    EXPECT_DOUBLE_EQ(cut->pressure, whole->pressure);
    EXPECT_DOUBLE_EQ(cut->rainSum, 0.75);
}

TEST(Ws2800History, LatestRecordFiguresAndUnits) {
    Ws2800FileRecord last;
    last.time = encodeDateTime(2026, 12, 1, 21, 1);
    last.absolute = 1001.25f;
    last.relative = 1013.5f;
    last.wind = 2.5f;   // 9 km/h
    last.gust = 60.0f;  // 216 km/h: stored as is, the window colours it
    last.direction = 3;
    last.tempInt = 21.25f;
    last.tempExt = -12.75f;
    last.humidityInt = 35.0f;
    last.humidityExt = 101.0f;
    last.rain = 1.5f;
    const Ws2800Reading r = decode({last}, Ws2800Pressure::Absolute, -3);
    EXPECT_EQ(r.recordCount, 1u);
    EXPECT_DOUBLE_EQ(r.observedAt, last.time);
    EXPECT_DOUBLE_EQ(r.tempInt, 21.25);
    EXPECT_DOUBLE_EQ(r.tempExt, -12.75);
    EXPECT_DOUBLE_EQ(r.pressure, 998.25);  // offset added
    EXPECT_DOUBLE_EQ(r.pressureOffset, -3.0);
    EXPECT_DOUBLE_EQ(r.windSpeed, 9.0);
    EXPECT_DOUBLE_EQ(r.gustSpeed, 216.0);
    EXPECT_FALSE(r.gustIsNoData);
    EXPECT_EQ(r.windDirection, 68);
    EXPECT_DOUBLE_EQ(r.humidityInt, 35.0);
    EXPECT_DOUBLE_EQ(r.humidityExt, 101.0);
    EXPECT_DOUBLE_EQ(r.recordInterval, 0.0);
    EXPECT_FALSE(r.pressureChange);
    EXPECT_DOUBLE_EQ(r.rain24h, 1.5);
}

TEST(Ws2800History, DirectionUsesTheLowFiveBitsRoundedHalfToEven) {
    const std::pair<std::int32_t, int> cases[] = {
        {0, 0},    {1, 22}, {3, 68}, {5, 112}, {15, 338}, {35, 68},  // 35 & 31 = 3
        {19, 428},                                                   // not a compass sector, passed on as is
        {-1, 698},  // all bits set: sector 31, 697.5 rounds up to the even 698
    };
    for (const auto& [stored, degrees] : cases) {
        Ws2800FileRecord r;
        r.direction = stored;
        EXPECT_EQ(decode({r}).windDirection, degrees) << "stored " << stored;
    }
}

TEST(Ws2800History, NoGustMarkerIsFlaggedButStillConverted) {
    Ws2800FileRecord r;
    r.gust = 51.0f;
    const Ws2800Reading got = decode({r});
    EXPECT_TRUE(got.gustIsNoData);
    EXPECT_NEAR(got.gustSpeed, 183.6, 1e-9);
    r.gust = 50.9f;
    EXPECT_FALSE(decode({r}).gustIsNoData);
}

TEST(Ws2800History, DamagedLatestTimeIsRejected) {
    for (double bad : {kNaN, std::numeric_limits<double>::infinity(), 1e300, -1e7, 2958466.5}) {
        Ws2800FileRecord r;
        r.time = bad;
        const auto bytes = ws2800History({Ws2800FileRecord{}, r});
        EXPECT_FALSE(decodeWs2800History(bytes, Ws2800Pressure::Absolute, 0)) << bad;
    }
    Ws2800FileRecord lastDay;
    lastDay.time = encodeDateTime(9999, 12, 31, 23, 59);
    EXPECT_DOUBLE_EQ(decode({lastDay}).observedAt, lastDay.time);
}

TEST(Ws2800History, TwoRecordsGiveNoTrendAndOnlyTheLastRain) {
    auto recs = series(2, kMinute);
    recs[0].rain = 4.0f;  // record 0 never counts
    recs[1].rain = 0.5f;
    const Ws2800Reading r = decode(recs);
    EXPECT_DOUBLE_EQ(r.recordInterval, 0.0);
    EXPECT_FALSE(r.pressureChange);
    EXPECT_DOUBLE_EQ(r.rainSum, 0.5);
}

TEST(Ws2800History, TrendLooksBackAboutAnHourTruncatingTheIndex) {
    // 1/128 day apart: an hour is 5.33 records; index 20 - 5.33 = 14.67 truncates to 14 (rounding would give 15).
    const auto recs = series(21, 1.0 / 128.0);
    const Ws2800Reading absolute = decode(recs, Ws2800Pressure::Absolute, 7);
    EXPECT_DOUBLE_EQ(absolute.recordInterval, 1.0 / 128.0);
    EXPECT_EQ(absolute.trendRecord, 14u);
    EXPECT_DOUBLE_EQ(absolute.pressure, 1010.0 + 7.0);
    ASSERT_TRUE(absolute.pressureChange);
    EXPECT_DOUBLE_EQ(*absolute.pressureChange, 6.0);  // offset left out

    // The relative pressure is used for the current value and for the reference alike.
    const Ws2800Reading relative = decode(recs, Ws2800Pressure::Relative, 7);
    EXPECT_EQ(relative.trendRecord, 14u);
    EXPECT_DOUBLE_EQ(relative.pressure, 1050.0 + 7.0);
    ASSERT_TRUE(relative.pressureChange);
    EXPECT_DOUBLE_EQ(*relative.pressureChange, 12.0);
}

TEST(Ws2800History, TrendIndexStaysBetweenRecordOneAndTheLast) {
    // Three one-minute records: an hour back is before the file; the reference is record 1, never 0.
    auto recs = series(3, kMinute);
    EXPECT_EQ(decode(recs).trendRecord, 1u);
    EXPECT_DOUBLE_EQ(*decode(recs).pressureChange, 1.0);

    // Records two hours apart: half a record back truncates to the previous one.
    recs = series(10, 2.0 / 24.0);
    EXPECT_EQ(decode(recs).trendRecord, 8u);

    // Last intervals so small that the look-back count overflows any integer, or is infinite.
    for (double tiny : {1e-300, std::numeric_limits<double>::denorm_min()}) {
        recs = series(5, kMinute, 0.0);
        recs[4].time = tiny;
        EXPECT_EQ(decode(recs).trendRecord, 1u) << tiny;
    }
}

TEST(Ws2800History, NoTrendWithoutAPositiveLastInterval) {
    auto recs = series(6, kMinute);
    recs[5].time = recs[4].time;  // same time
    EXPECT_FALSE(decode(recs).pressureChange);
    recs[5].time = recs[4].time - kMinute;  // clock set back
    EXPECT_LT(decode(recs).recordInterval, 0.0);
    EXPECT_FALSE(decode(recs).pressureChange);
    recs = series(6, kMinute);
    recs[4].time = kNaN;  // damaged previous record
    EXPECT_FALSE(decode(recs).pressureChange);
}

TEST(Ws2800History, RainWalksBackLessThanOneDay) {
    // Times are exact binary fractions, so "exactly one day older" is exact.
    std::vector<Ws2800FileRecord> recs(6);
    const double last = 38474.5;
    const double ages[] = {0.25, 1.0, 0.99, 0.5, 0.125, 0.0};  // days before the last record
    const float rains[] = {100.0f, 50.0f, 4.0f, 2.0f, 1.0f, 0.5f};
    for (int i = 0; i < 6; ++i) {
        recs[i].time = last - ages[i];
        recs[i].rain = rains[i];
    }
    // Record 1, exactly a day older, stops the walk: record 0, though recent, is never reached.
    EXPECT_DOUBLE_EQ(decode(recs).rainSum, 0.5 + 1.0 + 2.0 + 4.0);

    // Without the stop the walk reaches record 1 and ends there; record 0 never counts.
    recs[1].time = last - 0.75;
    EXPECT_DOUBLE_EQ(decode(recs).rain24h, 0.5 + 1.0 + 2.0 + 4.0 + 50.0);

    // A record more than a day older stops it just the same.
    recs[3].time = last - 2.0;
    EXPECT_DOUBLE_EQ(decode(recs).rain24h, 0.5 + 1.0);
}

TEST(Ws2800History, NegativeOrDamagedRainIsUnknown) {
    auto recs = series(4, kMinute);
    recs[3].rain = 0.25f;
    recs[2].rain = -1.0f;
    Ws2800Reading r = decode(recs);
    EXPECT_DOUBLE_EQ(r.rainSum, -0.75);
    EXPECT_DOUBLE_EQ(r.rain24h, kNoRain);

    recs[2].rain = std::numeric_limits<float>::quiet_NaN();
    r = decode(recs);
    EXPECT_DOUBLE_EQ(r.rain24h, kNoRain);

    recs[2].rain = 0.0f;
    recs[3].rain = 0.0f;  // a dry day is 0, not unknown
    EXPECT_DOUBLE_EQ(decode(recs).rain24h, 0.0);
}

// The real history file.
class Ws2800RealFile : public testing::Test {
protected:
    static void SetUpTestSuite() {
        bytes_ = new std::vector<std::uint8_t>(testDataBytes("lacrosse/ws3600-history.dat"));
    }
    static void TearDownTestSuite() {
        delete bytes_;
        bytes_ = nullptr;
    }
    void SetUp() override { ASSERT_FALSE(bytes_->empty()) << "the real history file is missing from the build"; }
    // The file cut after record `last`, as it stood when that record was the newest.
    static std::span<const std::uint8_t> upTo(std::size_t last) {
        return std::span<const std::uint8_t>(*bytes_).first((last + 1) * kWs2800RecordSize);
    }
    static std::vector<std::uint8_t>* bytes_;
};
std::vector<std::uint8_t>* Ws2800RealFile::bytes_ = nullptr;

TEST_F(Ws2800RealFile, LastRecordOfTheWholeFile) {
    ASSERT_EQ(bytes_->size(), 20881u * kWs2800RecordSize);
    const auto r = decodeWs2800History(*bytes_, Ws2800Pressure::Absolute, 0);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->recordCount, 20881u);
    const DateTimeFields at = decodeDateTime(r->observedAt);
    EXPECT_EQ(at.year, 2005);
    EXPECT_EQ(at.month, 5);
    EXPECT_EQ(at.day, 2);
    EXPECT_EQ(at.hour, 8);
    EXPECT_EQ(at.minute, 30);
    EXPECT_NEAR(r->recordInterval, kMinute, 1e-8);
    EXPECT_NEAR(r->tempInt, 20.9, 1e-5);
    EXPECT_NEAR(r->tempExt, 3.8, 1e-5);
    EXPECT_NEAR(r->pressure, 994.6, 1e-4);
    EXPECT_NEAR(r->windSpeed, 9.72, 1e-5);
    EXPECT_NEAR(r->gustSpeed, 14.4, 1e-5);
    EXPECT_FALSE(r->gustIsNoData);
    EXPECT_EQ(r->windDirection, 315);
    EXPECT_DOUBLE_EQ(r->humidityInt, 27.0);
    EXPECT_DOUBLE_EQ(r->humidityExt, 54.0);
    // The interval is a hair under a minute, so an hour is 60.0000004 records and truncation reaches 61 back.
    EXPECT_EQ(r->trendRecord, 20819u);
    ASSERT_TRUE(r->pressureChange);
    EXPECT_NEAR(*r->pressureChange, 0.6, 1e-4);
    // A dry last day; the walk stops at the record exactly one day older.
    EXPECT_DOUBLE_EQ(r->rain24h, 0.0);

    const auto relative = decodeWs2800History(*bytes_, Ws2800Pressure::Relative, 2);
    ASSERT_TRUE(relative);
    EXPECT_NEAR(relative->pressure, 1020.6, 1e-4);
    EXPECT_NEAR(*relative->pressureChange, 0.6, 1e-4);
}

TEST_F(Ws2800RealFile, WetDayCheckedRecordByRecord) {
    // 2005-04-20 07:40, after a rainy night; figures worked out by hand from the records.
    const auto r = decodeWs2800History(upTo(3550), Ws2800Pressure::Relative, 0);
    ASSERT_TRUE(r);
    EXPECT_NEAR(r->rain24h, 27.454, 1e-4);
    EXPECT_EQ(r->trendRecord, 3490u);
    EXPECT_NEAR(*r->pressureChange, 0.8, 1e-4);
    EXPECT_NEAR(r->pressure, 1013.3, 1e-4);
    EXPECT_NEAR(r->tempExt, 14.3, 1e-5);
    EXPECT_DOUBLE_EQ(r->humidityExt, 86.0);
    EXPECT_EQ(r->windDirection, 338);
    EXPECT_TRUE(r->gustIsNoData);  // this station logs no gust most of the time
}

TEST_F(Ws2800RealFile, EveryPrefixDecodesToPlausibleFigures) {
    const std::size_t count = ws2800RecordCount(*bytes_);
    double previous = 0;
    for (std::size_t last = 0; last < count; last += 97) {
        const auto r = decodeWs2800History(upTo(last), Ws2800Pressure::Absolute, 0);
        ASSERT_TRUE(r) << last;
        ASSERT_GT(r->observedAt, previous) << last;
        previous = r->observedAt;
        ASSERT_TRUE(kPressureLimits.contains(r->pressure)) << last;
        ASSERT_TRUE(kTemperatureLimits.contains(r->tempExt)) << last;
        ASSERT_TRUE(kWindLimits.contains(r->windSpeed)) << last;
        ASSERT_GE(r->rain24h, 0.0) << last;
        ASSERT_LT(r->rain24h, 100.0) << last;
        ASSERT_LT(r->windDirection, 360) << last;
        if (r->pressureChange) {
            ASSERT_LT(std::fabs(*r->pressureChange), 5.0) << last;
        }
    }
}

}  // namespace
}  // namespace tintal
