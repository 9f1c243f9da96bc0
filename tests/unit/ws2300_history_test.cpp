#include "weather/stations/ws2300_history.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "base/date_time.h"
#include "fakes/station_files.h"
#include "fakes/test_data.h"

namespace tintal {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Records `step` seconds apart whose pressure and rain counter are their own index, so that the
// record a look-back picked can be read straight from the result.
std::vector<Ws2300FileRecord> indexed(std::size_t count, std::uint32_t step, std::uint32_t start = 3'500'000'000u) {
    std::vector<Ws2300FileRecord> records(count);
    for (std::size_t i = 0; i < count; ++i) {
        records[i].seconds = start + std::uint32_t(i) * step;
        records[i].pressure = 1000.0f + float(i);
        records[i].rain = float(i);
    }
    return records;
}

Ws2300Figures decoded(const std::vector<Ws2300FileRecord>& records, double offset = 0) {
    const auto f = decodeWs2300History(ws2300History(records), offset);
    EXPECT_TRUE(f.has_value());
    return f.value_or(Ws2300Figures{});
}

// Index of the record the trend compared with, read back from the index-coded pressures.
long trendRecord(const Ws2300Figures& f) {
    EXPECT_TRUE(f.pressureChange.has_value());
    return long(f.recordCount - 1) - std::lround(f.pressureChange.value_or(-1));
}

TEST(Ws2300History, OnlyCompleteRecordsCountAndTheLastIsTheLatest) {
    EXPECT_FALSE(decodeWs2300History({}, 0).has_value());
    EXPECT_FALSE(decodeWs2300History(Bytes(35, 0x42), 0).has_value());

    Bytes file = ws2300History(indexed(3, 600));
    file.insert(file.end(), 10, 0x7F);  // a record cut short by a write in progress
    const auto f = decodeWs2300History(file, 0);
    ASSERT_TRUE(f.has_value());
    EXPECT_EQ(f->recordCount, 3u);
    EXPECT_DOUBLE_EQ(f->pressure, 1002.0);
}

TEST(Ws2300History, DecodesEachFieldOfTheLatestRecord) {
    std::vector<Ws2300FileRecord> records(2);
    records[1] = {.seconds = 3'500'000'000u,
                  .pressure = 1013.25f,
                  .wind = 2.5f,
                  .direction = 4,
                  .rain = 12.5f,
                  .tempInt = 21.5f,
                  .tempExt = -12.75f,
                  .humidityInt = 45,
                  .humidityExt = 0x96};
    const Ws2300Figures f = decoded(records, 3);
    EXPECT_DOUBLE_EQ(f.pressure, 1016.25);
    EXPECT_DOUBLE_EQ(f.windSpeed, 9.0);
    EXPECT_TRUE(f.windValid);
    EXPECT_EQ(f.windDirection, 90);
    EXPECT_DOUBLE_EQ(f.rainTotal, 12.5);
    EXPECT_DOUBLE_EQ(f.tempInt, 21.5);
    EXPECT_DOUBLE_EQ(f.tempExt, -12.75);
    EXPECT_EQ(f.humidityInt, 45);
    EXPECT_EQ(f.humidityExt, -106);  // signed byte: the caption turns red
    EXPECT_DOUBLE_EQ(f.observedAt, (3'500'000'000.0 + 176400) / 86400);

    records[1].humidityInt = 0x7F;
    records[1].humidityExt = 0x80;
    EXPECT_EQ(decoded(records).humidityInt, 127);
    EXPECT_EQ(decoded(records).humidityExt, -128);
}

TEST(Ws2300History, ObservationTimeAddsTheShiftModulo32Bits) {
    EXPECT_DOUBLE_EQ(ws2300ObservationTime(0), encodeDateTime(1900, 1, 1, 1, 0, 0));
    EXPECT_DOUBLE_EQ(ws2300ObservationTime(0xFFFFFFFFu), encodeDateTime(1900, 1, 1, 0, 59, 59));
    EXPECT_DOUBLE_EQ(ws2300ObservationTime(0xFFFFFFFFu - 176399u), 0.0);
    const DateTimeFields real = decodeDateTime(ws2300ObservationTime(3'576'037'920u));  // the sample's last
    EXPECT_EQ(real.year, 2013);
    EXPECT_EQ(real.month, 4);
    EXPECT_EQ(real.day, 27);
    EXPECT_EQ(real.hour, 8);
    EXPECT_EQ(real.minute, 52);
}

TEST(Ws2300History, IntervalNeedsThreeRecordsAndAClockMovingForward) {
    std::vector<Ws2300FileRecord> records = indexed(2, 600);
    records[0].wind = 20.0f;  // record 0 never counts, not even for the gust
    records[1].wind = 1.0f;
    Ws2300Figures f = decoded(records);
    EXPECT_EQ(f.recordInterval, 0.0);
    EXPECT_FALSE(f.pressureChange.has_value());
    EXPECT_EQ(f.rain24h, kNoRain);
    EXPECT_DOUBLE_EQ(f.gustSpeed, 3.6);

    records = indexed(3, 600);
    records[2].seconds = records[1].seconds + 1800;  // the last gap, not the first, is the interval
    EXPECT_DOUBLE_EQ(decoded(records).recordInterval, 1800.0 / 86400);

    // The latest record's shifted seconds wrapped round: its time lies far before the previous one.
    records = indexed(3, 600, 0xFFFFFFFFu - 176400u - 600u);
    f = decoded(records);
    EXPECT_LT(f.recordInterval, 0.0);
    EXPECT_FALSE(f.pressureChange.has_value());
    EXPECT_EQ(f.rain24h, kNoRain);

    records = indexed(3, 600);
    records[2].seconds = records[1].seconds;
    EXPECT_FALSE(decoded(records).pressureChange.has_value());
}

TEST(Ws2300History, TrendComparesWithTheRecordAboutOneHourEarlier) {
    // Every 700 s: 3600 / 700 = 5.14 records, so truncating gives six back where rounding gives five.
    Ws2300Figures f = decoded(indexed(20, 700));
    EXPECT_EQ(trendRecord(f), 19 - 6);

    // Every 10 minutes: exactly six back, whatever the date (rounded dates would make it seven at times).
    for (std::uint32_t start = 3'400'000'000u; start < 3'400'000'000u + 600u * 300; start += 600u * 7) {
        ASSERT_EQ(trendRecord(decoded(indexed(12, 600, start))), 11 - 6) << start;
    }

    // Too few records for a whole hour: record 1 is the oldest that counts.
    EXPECT_EQ(trendRecord(decoded(indexed(3, 600))), 1);

    // The offset shifts the pressure but not the change.
    f = decoded(indexed(20, 700), -7.5);
    EXPECT_DOUBLE_EQ(f.pressure, 1019.0 - 7.5);
    EXPECT_DOUBLE_EQ(f.pressureChange.value_or(0), 6.0);
}

TEST(Ws2300History, RainIsTheCounterDifferenceWithTheRecordAbout24HoursEarlier) {
    // Every 700 s: 86400 / 700 = 123.4 records, truncated to 124 back.
    EXPECT_DOUBLE_EQ(decoded(indexed(200, 700)).rain24h, 124.0);
    EXPECT_DOUBLE_EQ(decoded(indexed(150, 600)).rain24h, 144.0);
    EXPECT_DOUBLE_EQ(decoded(indexed(146, 600)).rain24h, 144.0);  // back to record 1
    EXPECT_EQ(decoded(indexed(145, 600)).rain24h, kNoRain);       // would need record 0

    std::vector<Ws2300FileRecord> records = indexed(150, 600);
    records.back().rain = records[149 - 144].rain - 0.5f;  // the counter was reset and has counted again
    Ws2300Figures f = decoded(records);
    EXPECT_EQ(f.rain24h, kNoRain);
    EXPECT_DOUBLE_EQ(f.rainTotal, 4.5);

    records.back().rain = records[149 - 144].rain;
    EXPECT_EQ(decoded(records).rain24h, 0.0);  // no rain is a figure, not unknown
    records.back().rain = std::numeric_limits<float>::quiet_NaN();
    EXPECT_EQ(decoded(records).rain24h, kNoRain);
}

TEST(Ws2300History, GustIsTheHighestValidWindOfTheLastTenRecords) {
    std::vector<Ws2300FileRecord> records = indexed(14, 600);
    for (Ws2300FileRecord& r : records) r.wind = 2.0f;
    records[3].wind = 40.0f;  // eleventh from the end: too old
    records[4].wind = 10.0f;  // tenth from the end: counts
    records[8].wind = 60.0f;  // 216 km/h, outside the limits
    records[9].wind = kWs2300NoWind;
    records[13].wind = 3.0f;
    Ws2300Figures f = decoded(records);
    EXPECT_DOUBLE_EQ(f.windSpeed, 10.8);
    EXPECT_DOUBLE_EQ(f.gustSpeed, 36.0);

    // An invalid latest wind is red and does not seed the gust.
    for (float bad : {-0.5f, 56.0f, kWs2300NoWind}) {
        records[13].wind = bad;
        f = decoded(records);
        EXPECT_FALSE(f.windValid) << bad;
        EXPECT_DOUBLE_EQ(f.windSpeed, double(bad) * 3.6) << bad;
        EXPECT_DOUBLE_EQ(f.gustSpeed, 36.0) << bad;
    }

    // With nothing but the marker around, there is no gust at all (not a 184 km/h one).
    for (Ws2300FileRecord& r : records) r.wind = kWs2300NoWind;
    f = decoded(records);
    EXPECT_DOUBLE_EQ(f.windSpeed, 183.6);
    EXPECT_EQ(f.gustSpeed, 0.0);
    records.back().wind = 50.9f;  // a real storm just below the marker stays valid
    EXPECT_TRUE(decoded(records).windValid);
}

TEST(Ws2300History, DirectionUsesTheLowFiveBitsAndRoundsHalvesToEven) {
    const struct {
        std::int32_t stored;
        int degrees;
    } cases[] = {{0, 0}, {1, 22}, {3, 68}, {15, 338}, {16, 360}, {19, 428}, {35, 68}, {-1, 698}, {32, 0}};
    std::vector<Ws2300FileRecord> records(1);
    for (const auto& c : cases) {
        records[0].direction = c.stored;
        EXPECT_EQ(decoded(records).windDirection, c.degrees) << c.stored;
    }
}

// The sample history file and the station software's own export of the same records.
class Ws2300HistorySample : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        history_ = testDataBytes("lacrosse/ws2300-history.dat");
        exportText_ = testDataBytes("lacrosse/ws2300-history-export.txt");
    }

    void SetUp() override { ASSERT_FALSE(history_.empty() || exportText_.empty()) << "sample files missing"; }

    // The figures of the latest record when the file held only its first `count` records.
    static Ws2300Figures prefix(std::size_t count, double offset = 0) {
        const auto f = decodeWs2300History(std::span(history_).first(count * kWs2300RecordSize), offset);
        EXPECT_TRUE(f.has_value());
        return f.value_or(Ws2300Figures{});
    }

    static inline Bytes history_, exportText_;
};

TEST_F(Ws2300HistorySample, LatestRecord) {
    const auto f = decodeWs2300History(history_, 2);
    ASSERT_TRUE(f.has_value());
    EXPECT_EQ(f->recordCount, 3717u);  // the 28-byte trailer is no record
    EXPECT_DOUBLE_EQ(f->observedAt, encodeDateTime(2013, 4, 27, 8, 52));
    EXPECT_DOUBLE_EQ(f->recordInterval, 0.25);
    EXPECT_NEAR(f->pressure, 1009.8, 1e-4);
    EXPECT_NEAR(f->pressureChange.value_or(0), -0.2, 1e-4);  // 6 h back: one record
    EXPECT_NEAR(f->tempInt, 19.0, 1e-6);
    EXPECT_EQ(f->humidityInt, 54);
    // The outdoor sensor was lost: the software's markers, all outside their limits once decoded.
    EXPECT_NEAR(f->tempExt, 81.11, 1e-4);
    EXPECT_EQ(f->humidityExt, 110);
    EXPECT_NEAR(f->windSpeed, 183.6, 1e-4);
    EXPECT_FALSE(f->windValid);
    EXPECT_EQ(f->gustSpeed, 0.0);
    EXPECT_EQ(f->windDirection, 338);
    EXPECT_NEAR(f->rainTotal, 16.062, 1e-3);
    EXPECT_EQ(f->rain24h, 0.0);
}

TEST_F(Ws2300HistorySample, LookBacksCheckedByHand) {
    // Two-hourly records, the wind sensor back after six hours of markers (records 15 to 20).
    Ws2300Figures f = prefix(28);
    EXPECT_NEAR(f.pressureChange.value_or(0), 1005.5 - 1005.9, 1e-4);  // record 26
    EXPECT_NEAR(f.rain24h, 6.220 - 4.148, 1e-3);                       // record 15
    EXPECT_NEAR(f.windSpeed, 1.08, 1e-4);
    EXPECT_NEAR(f.gustSpeed, 1.44, 1e-4);  // record 26; the markers of 18 to 20 do not count
    EXPECT_EQ(f.windDirection, 22);

    // Six-hourly records.
    f = prefix(2141);
    EXPECT_NEAR(f.pressureChange.value_or(0), 1004.5 - 1004.1, 1e-4);  // record 2139
    EXPECT_NEAR(f.gustSpeed, 19.8, 1e-4);                              // record 2137
    EXPECT_EQ(f.rain24h, 0.0);
}

std::vector<std::string> split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find(separator, from)) != std::string::npos; from = at + separator.size()) {
        parts.push_back(text.substr(from, at - from));
    }
    parts.push_back(text.substr(from));
    return parts;
}

double decimalComma(std::string text) {
    for (char& c : text) {
        if (c == ',') c = '.';
    }
    return std::stod(text);
}

// Every record in turn decoded as the latest, against the export's line for it. The export shows
// pressure 10 hPa higher, a clock one hour ahead (but for records in the hour skipped by the spring
// change), winds truncated to a tenth of a km/h, rain truncated to a tenth, and "---" for missing
// figures and for the direction of a calm.
TEST_F(Ws2300HistorySample, AgreesWithTheExportOnEveryRecord) {
    static const char* const sectors[] = {"N", "NNE", "NE", "ENE", "E", "ESE", "SE", "SSE",
                                          "S", "SSW", "SW", "WSW", "W", "WNW", "NW", "NNW"};
    static const int degrees[] = {0, 22, 45, 68, 90, 112, 135, 158, 180, 202, 225, 248, 270, 292, 315, 338};
    std::vector<std::string> lines = split(std::string(exportText_.begin(), exportText_.end()), "\r\n");
    lines.erase(lines.begin(), lines.begin() + 2);  // column names and units
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    ASSERT_EQ(lines.size(), 3717u);

    int clockChangeRecords = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE("record " + std::to_string(i) + ": " + lines[i]);
        const std::vector<std::string> col = split(lines[i], "\t");
        ASSERT_EQ(col.size(), 12u);
        const Ws2300Figures f = prefix(i + 1);

        const DateTimeFields shown = decodeDateTime(f.observedAt + 1.0 / 24);
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "%02d:%02d %02d.%02d.%04d", shown.hour, shown.minute, shown.day, shown.month,
                      shown.year);
        if (col[10] + " " + col[11] != stamp) {
            const DateTimeFields own = decodeDateTime(f.observedAt);
            EXPECT_TRUE(own.month == 3 && own.hour == 2 && own.dayOfWeek == 1) << stamp;
            ++clockChangeRecords;
        }
        EXPECT_NEAR(f.pressure + 10, decimalComma(col[0]), 0.051);
        EXPECT_NEAR(f.tempInt, decimalComma(col[1]), 0.051);
        EXPECT_EQ(f.humidityInt, std::stoi(col[2]));
        EXPECT_NEAR(f.rainTotal, decimalComma(col[9]), 0.1);
        if (col[3] == "---") {
            EXPECT_FALSE(kTemperatureLimits.contains(f.tempExt));
            EXPECT_GT(f.humidityExt, 100);
            EXPECT_FALSE(f.windValid);
            continue;
        }
        EXPECT_NEAR(f.tempExt, decimalComma(col[3]), 0.051);
        EXPECT_EQ(f.humidityExt, std::stoi(col[4]));
        EXPECT_TRUE(f.windValid);
        EXPECT_NEAR(f.windSpeed, decimalComma(col[7]), 0.1);
        EXPECT_GE(f.gustSpeed, f.windSpeed);
        if (col[8] != "---") {
            const auto sector = std::find(std::begin(sectors), std::end(sectors), col[8]) - std::begin(sectors);
            ASSERT_LT(sector, 16);
            EXPECT_EQ(f.windDirection, degrees[sector]);
        }
    }
    EXPECT_EQ(clockChangeRecords, 4);  // 2010, 2011, 2012 and 2013
}

}  // namespace
}  // namespace tintal
