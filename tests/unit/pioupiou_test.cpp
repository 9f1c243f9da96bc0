#include "weather/web/pioupiou.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "base/date_time.h"

namespace tintal {
namespace {

constexpr int kParisSummerBias = -120;  // UTC = local + bias
const std::string kAddress = "https://api.beacons.test/v1/live/110";

double at(int year, int month, int day, int hour, int minute) { return encodeDateTime(year, month, day, hour, minute); }

// Date-times computed through a bias differ from directly encoded ones in the last bits only.
constexpr double kOneMs = 1.0 / 86400000.0;

PioupiouReadParams params(double offset = 0, double nowLocal = at(2024, 3, 7, 16, 0), int bias = 0) {
    return PioupiouReadParams{kAddress, offset, nowLocal, bias};
}

PioupiouFigures decode(const std::string& file, const PioupiouReadParams& p = params()) {
    return decodePioupiouLines(file, p).value();
}

// The lines the extractor keeps from a live answer, as the read finds them in the working file.
std::string measurementLines(const std::string& avg, const std::string& max, const std::string& min,
                             const std::string& heading, const std::string& pressure = "null") {
    std::string lines = "\"name\": \"Pioupiou 110\"\r\n\"date\": \"2024-03-07T14:30:12.000Z\",\r\n";
    lines += "\"pressure\": " + pressure + ",\r\n";
    lines += "\"wind_heading\": " + heading + ",\r\n";
    lines += "\"wind_speed_avg\": " + avg + ",\r\n";
    lines += "\"wind_speed_max\": " + max + ",\r\n";
    lines += "\"wind_speed_min\": " + min + "\r\n";
    return lines;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << path;
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string dataFile(const std::string& name) {
    return readFile(std::string(TINTAL_TEST_DATA_DIR) + "/pioupiou/" + name);
}

// ---- extraction ----

TEST(PioupiouPage, KeepsTheNameAndTheSixMeasurementLinesWithoutTheirIndent) {
    const std::string doc =
        "{\n  \"data\": {\n    \"meta\": {\n      \"name\": \"Pioupiou 110\"\n    },\n"
        "    \"measurements\": {\n\t\"date\": \"2024-03-07T14:30:12.000Z\",\n      \"pressure\": null,\n"
        "      \"wind_heading\": 247.5,\n      \"wind_speed_avg\": 6.25,\n      \"wind_speed_max\": 10.25,\n"
        "      \"wind_speed_min\": 3\n    },\n    \"status\": {\n      \"state\": \"on\"\n    }\n  }\n}\n";
    const PioupiouPageLines got = extractPioupiouLines(doc);
    EXPECT_EQ(got.error, PioupiouPageError::None);
    EXPECT_EQ(got.file,
              "\"name\": \"Pioupiou 110\"\r\n\"date\": \"2024-03-07T14:30:12.000Z\"\r\n\"pressure\": null\r\n"
              "\"wind_heading\": 247.5\r\n\"wind_speed_avg\": 6.25\r\n\"wind_speed_max\": 10.25\r\n"
              "\"wind_speed_min\": 3\r\n");
    const PioupiouFigures f = decode(got.file);
    EXPECT_EQ(f.windSpeed.value, 6.0);
    EXPECT_EQ(f.gustSpeed.value, 10.0);
    EXPECT_EQ(f.windMin.value, 3.0);
    EXPECT_EQ(f.windDirection.value, 247);
    EXPECT_FALSE(f.pressure.shown);
}

TEST(PioupiouPage, JsonInAnyLayoutAndNothingElseFromIt) {
    // The keys in the order and nesting of the answer, whatever its line breaks; a "name" of another
    // object is kept too, and keys outside "measurements" are not.
    const std::string doc =
        R"({"data":{"id":7,"meta":{"name":"Col d\u2019Izoard"},"location":{"date":"2015-08-16T14:26:01.000Z"},)"
        R"("measurements":{"wind_speed_avg":12.5,"date":"2024-03-07T14:30:12.000Z","pressure":1013.75,)"
        R"("wind_heading":null}}})";
    const PioupiouPageLines got = extractPioupiouLines(doc);
    EXPECT_EQ(got.error, PioupiouPageError::None);
    EXPECT_EQ(got.file,
              "\"name\": \"Col d\u2019Izoard\"\r\n\"wind_speed_avg\": 12.5\r\n"
              "\"date\": \"2024-03-07T14:30:12.000Z\"\r\n\"pressure\": 1013.75\r\n\"wind_heading\": null\r\n");
    const PioupiouFigures f = decode(got.file);
    EXPECT_EQ(f.windSpeed.value, 12.0);  // halves to even
    EXPECT_EQ(f.pressure.value, 1013.0);
    EXPECT_FALSE(f.windDirection.shown);
    EXPECT_DOUBLE_EQ(f.observedAt->utc, at(2024, 3, 7, 14, 30));

    EXPECT_EQ(extractPioupiouLines(R"({"data":{"measurements":null,"status":{"state":"on"}}})").error,
              PioupiouPageError::Empty);
    // Nesting far deeper than any answer is neither walked nor a crash.
    EXPECT_EQ(extractPioupiouLines(std::string(5000, '[') + std::string(5000, ']')).error, PioupiouPageError::Empty);
}

TEST(PioupiouPage, CrLineEndsAndLoneCrSplitLinesAlike) {
    const std::string doc = "{\r  \"name\": \"A\"\r\n \"measurements\": {\r1\n2\r\n3\r4\n5\n6";
    const PioupiouPageLines got = extractPioupiouLines(doc);
    EXPECT_EQ(got.error, PioupiouPageError::None);
    EXPECT_EQ(got.file, "\"name\": \"A\"\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n");
}

TEST(PioupiouPage, FailuresGiveTheirCodes) {
    EXPECT_EQ(extractPioupiouLines("").error, PioupiouPageError::Empty);
    EXPECT_EQ(extractPioupiouLines("{\n  \"id\": 110\n}\n").error, PioupiouPageError::Empty);
    // Cut off inside the measurements: five lines only.
    const std::string cut = "{\n\"name\": \"A\",\n\"measurements\": {\n1\n2\n3\n4\n5";
    const PioupiouPageLines got = extractPioupiouLines(cut);
    EXPECT_EQ(got.error, PioupiouPageError::Truncated);
    EXPECT_TRUE(got.file.empty());
    EXPECT_EQ(extractPioupiouLines(cut + "\n6").error, PioupiouPageError::None);
    // An unquoted word is not the key.
    EXPECT_EQ(extractPioupiouLines("name: x\nmeasurements\n1\n2\n3\n4\n5\n6\n").error, PioupiouPageError::Empty);
}

// ---- figures ----

TEST(PioupiouFigures, TheDocumentedExampleReadsSixTenThreeAnd247) {
    const PioupiouFigures f = decode(measurementLines("6.25", "10.25", "3", "247.5"));
    EXPECT_TRUE(f.windSpeed.shown);
    EXPECT_EQ(f.windSpeed.value, 6.0);
    EXPECT_FALSE(f.windSpeed.outOfLimits);
    EXPECT_EQ(f.gustSpeed.value, 10.0);
    EXPECT_EQ(f.windMin.value, 3.0);
    EXPECT_TRUE(f.windDirection.shown);
    EXPECT_EQ(f.windDirection.value, 247);
    EXPECT_EQ(f.stationLabel, "Pioupiou 110");
}

TEST(PioupiouFigures, NullRules) {
    const PioupiouFigures f = decode(measurementLines("null", "null", "null", "null", "null"));
    EXPECT_TRUE(f.pressure.present);
    EXPECT_FALSE(f.pressure.shown);
    EXPECT_EQ(f.pressure.value, kPioupiouNoPressure);
    // Mean wind and gust read null as calm, and show it.
    EXPECT_TRUE(f.windSpeed.shown);
    EXPECT_EQ(f.windSpeed.value, 0.0);
    EXPECT_TRUE(f.gustSpeed.shown);
    EXPECT_EQ(f.gustSpeed.value, 0.0);
    EXPECT_FALSE(f.windMin.shown);
    EXPECT_EQ(f.windMin.value, kPioupiouNoWindMin);
    EXPECT_FALSE(f.windMin.outOfLimits);
    EXPECT_FALSE(f.windDirection.shown);
    EXPECT_EQ(f.windDirection.value, kNoDirection);
    // A quoted "null", as a hand-made answer has it, is null too.
    EXPECT_FALSE(decode("\"pressure\": \"null\",\r\n").pressure.shown);
}

TEST(PioupiouFigures, ValuesThatDoNotReadGiveEachFiguresMissingMarker) {
    const PioupiouFigures f = decode(measurementLines("calm", "x", "", "north", "high"));
    EXPECT_FALSE(f.windSpeed.shown);
    EXPECT_EQ(f.windSpeed.value, kPioupiouNoWind);
    EXPECT_TRUE(f.windSpeed.outOfLimits);  // -1 lies below the wind limits
    EXPECT_FALSE(f.gustSpeed.shown);
    EXPECT_EQ(f.gustSpeed.value, kPioupiouNoGust);
    EXPECT_FALSE(f.gustSpeed.outOfLimits);
    EXPECT_EQ(f.windMin.value, kPioupiouNoWindMin);
    EXPECT_EQ(f.windDirection.value, kNoDirection);
    EXPECT_EQ(f.pressure.value, kPioupiouNoPressure);
    // A point with no digit after it, an exponent, or a number too big for an integer.
    EXPECT_FALSE(decode("\"wind_speed_avg\": 6.,\r\n").windSpeed.shown);
    EXPECT_FALSE(decode("\"wind_speed_avg\": 1.5e1,\r\n").windSpeed.shown);
    EXPECT_FALSE(decode("\"wind_speed_avg\": 99999999999,\r\n").windSpeed.shown);
}

TEST(PioupiouFigures, WindsKeepOneDecimalThenRoundHalfToEven) {
    EXPECT_EQ(decode("\"wind_speed_avg\": 12.5,\r\n").windSpeed.value, 12.0);
    EXPECT_EQ(decode("\"wind_speed_avg\": 13.5,\r\n").windSpeed.value, 14.0);
    EXPECT_EQ(decode("\"wind_speed_avg\": 12.59,\r\n").windSpeed.value, 12.0);  // 12.5 after the first decimal
    EXPECT_EQ(decode("\"wind_speed_avg\": 12.6,\r\n").windSpeed.value, 13.0);
    EXPECT_EQ(decode("\"wind_speed_max\": 22.5\r\n").gustSpeed.value, 22.0);
    EXPECT_EQ(decode("\"wind_speed_min\": 6.5\r\n").windMin.value, 6.0);
    // The decimal keeps the sign of the number: -3.5 is not -2.5.
    EXPECT_EQ(decode("\"wind_speed_avg\": -3.5,\r\n").windSpeed.value, -4.0);
    EXPECT_TRUE(decode("\"wind_speed_avg\": -3.5,\r\n").windSpeed.outOfLimits);
    EXPECT_TRUE(decode("\"wind_speed_max\": 199.6,\r\n").gustSpeed.outOfLimits);
    EXPECT_FALSE(decode("\"wind_speed_max\": 199.4,\r\n").gustSpeed.outOfLimits);
}

TEST(PioupiouFigures, PressureTakesTheWholeHectopascalsAndTheOffset) {
    const PioupiouFigure<double> p = decode("\"pressure\": 1013.9,\r\n", params(-3)).pressure;
    EXPECT_TRUE(p.shown);
    EXPECT_EQ(p.shownValue, 1013.0);
    EXPECT_EQ(p.value, 1010.0);
    EXPECT_FALSE(p.outOfLimits);
    EXPECT_TRUE(decode("\"pressure\": 1049,\r\n", params(2)).pressure.outOfLimits);
    EXPECT_FALSE(decode("\"pressure\": 1049,\r\n", params(1)).pressure.outOfLimits);
}

TEST(PioupiouFigures, DirectionAcceptsZeroTo360) {
    EXPECT_EQ(decode("\"wind_heading\": 0,\r\n").windDirection.value, 0);
    EXPECT_EQ(decode("\"wind_heading\": 360,\r\n").windDirection.value, 360);
    EXPECT_EQ(decode("\"wind_heading\": 337.5,\r\n").windDirection.value, 337);
    EXPECT_EQ(decode("\"wind_heading\": 361,\r\n").windDirection.value, kNoDirection);
    EXPECT_EQ(decode("\"wind_heading\": -22.5,\r\n").windDirection.value, kNoDirection);
}

TEST(PioupiouFigures, AbsentKeysLeaveTheReadingAsItWas) {
    WeatherReading r;
    r.observedAt = 45000.5;
    r.pressure = 1012;
    r.windSpeed = 20;
    r.gustSpeed = 30;
    r.windDirection = 90;
    const PioupiouFigures f = decode("\"wind_speed_avg\": 6.25,\r\n\"status\": \"on\"\r\n");
    EXPECT_FALSE(f.pressure.present);
    EXPECT_FALSE(f.gustSpeed.present);
    EXPECT_FALSE(f.windDirection.present);
    EXPECT_FALSE(f.observedAt);
    storePioupiouFigures(f, r);
    EXPECT_EQ(r.windSpeed, 6.0);
    EXPECT_EQ(r.observedAt, 45000.5);
    EXPECT_EQ(r.pressure, 1012);
    EXPECT_EQ(r.gustSpeed, 30);
    EXPECT_EQ(r.windDirection, 90);

    storePioupiouFigures(decode(measurementLines("1", "null", "0", "null"), params(5)), r);
    EXPECT_EQ(r.pressure, kPioupiouNoPressure);  // the offset is not added to the marker
    EXPECT_EQ(r.gustSpeed, 0.0);
    EXPECT_EQ(r.windDirection, kNoDirection);
    EXPECT_EQ(r.observedAt, at(2024, 3, 7, 14, 30));
}

TEST(PioupiouFigures, TheLastLineOfAKeyWinsAndAFileWithoutLinesReadsNothing) {
    const PioupiouFigures f =
        decode("\"wind_speed_avg\": 6,\r\n\"wind_speed_avg\": null,\r\n\"wind_speed_avg\": 9\r\n");
    EXPECT_EQ(f.windSpeed.value, 9.0);
    EXPECT_FALSE(decodePioupiouLines("", params()));
}

// ---- layout: only lines that start with their key are read ----

TEST(PioupiouLayout, EachValueComesFromItsOwnKeysLine) {
    // A null later on the line is another key's, not the mean wind's.
    const PioupiouFigures f = decode("\"wind_speed_avg\": 14, \"wind_speed_max\": null\r\n");
    EXPECT_EQ(f.windSpeed.value, 14.0);
    EXPECT_TRUE(f.gustSpeed.present);
    EXPECT_FALSE(f.gustSpeed.shown);  // not at the start of its line: not read as calm either
}

TEST(PioupiouLayout, TheOffsetsSitRightBehindTheKeysColon) {
    // The fixed offset lands right behind the colon, so the blank after it is optional; one before it
    // would put the colon itself into the value.
    EXPECT_EQ(decode("\"wind_speed_avg\":14,\r\n").windSpeed.value, 14.0);
    EXPECT_EQ(decode("\"name\":\"Spot\"\r\n").stationLabel, "Spot");
    EXPECT_FALSE(decode("\"wind_speed_avg\" : 14,\r\n").windSpeed.shown);
    EXPECT_EQ(decode("\"wind_speed_avg\":  14 ,\r\n").windSpeed.value, 14.0);
    // An indented, unextracted line would put the name at ": ".
    const PioupiouFigures f = decode("      \"name\": \"Pioupiou 19\"\r\n    \"wind_speed_avg\": 14,\r\n");
    EXPECT_EQ(f.stationLabel, "Pioupiou 110");
    EXPECT_FALSE(f.windSpeed.shown);
}

TEST(PioupiouLayout, TheOneLineAnswerGivesTheSameLinesAsTheIndentedOne) {
    const PioupiouPageLines compact = extractPioupiouLines(dataFile("live_110_compact.json"));
    EXPECT_EQ(compact.error, PioupiouPageError::None);
    EXPECT_EQ(compact.file, extractPioupiouLines(dataFile("live_110_official_doc.json")).file);
    const PioupiouFigures c = decode(compact.file);
    EXPECT_EQ(c.stationLabel, "Pioupiou 110");
    EXPECT_EQ(c.windSpeed.value, 14.0);
    EXPECT_EQ(c.gustSpeed.value, 22.0);  // 22.5, halves to even
    EXPECT_EQ(c.windMin.value, 7.0);
    EXPECT_EQ(c.windDirection.value, 292);
    EXPECT_FALSE(c.pressure.shown);
    EXPECT_DOUBLE_EQ(c.observedAt->utc, at(2015, 8, 17, 22, 7));
}

TEST(PioupiouLayout, AOneLineTextNotExtractedGivesNoFigureRatherThanAWrongOne) {
    const std::string doc = dataFile("live_110_compact.json");
    // Read as it is, the line holds every key but none at its start.
    const PioupiouFigures f = decode(doc);
    EXPECT_EQ(f.stationLabel, "Pioupiou 110");
    EXPECT_FALSE(f.observedAt);
    EXPECT_TRUE(f.windSpeed.present);
    EXPECT_FALSE(f.windSpeed.shown);
    EXPECT_EQ(f.windSpeed.value, kPioupiouNoWind);
    EXPECT_FALSE(f.gustSpeed.shown);
    EXPECT_FALSE(f.windMin.shown);
    EXPECT_FALSE(f.windDirection.shown);
    EXPECT_FALSE(f.pressure.shown);
}

// ---- beacon label ----

TEST(PioupiouLabel, FromTheAddressUntilTheNameIsRead) {
    EXPECT_EQ(pioupiouAddressLabel("https://api.beacons.test/v1/live/110"), "Pioupiou 110");
    EXPECT_EQ(pioupiouAddressLabel("http://api.beacons.test/v1/live/1333 //Schwarzwald"), "Pioupiou 1333");
    EXPECT_EQ(pioupiouAddressLabel("http://x/live/12345"), "Pioupiou 1234");
    EXPECT_EQ(pioupiouAddressLabel("http://x/v1/liv/9"), "Pioupiou ://x");
    EXPECT_EQ(pioupiouAddressLabel("http"), "Pioupiou ");
    EXPECT_EQ(pioupiouAddressLabel(""), "Pioupiou ");
    // Four characters, not four bytes: a letter of two bytes is not cut in half.
    EXPECT_EQ(pioupiouAddressLabel("http://x/live/\xC3\xA9t\xC3\xA9s/"), "Pioupiou \xC3\xA9t\xC3\xA9s");
    EXPECT_EQ(pioupiouAddressLabel("h\xC3\xA9llo w\xC3\xB6rld"), "Pioupiou o w\xC3\xB6");
}

TEST(PioupiouLabel, TheNameReplacesItInTheLabelsCodePage) {
    EXPECT_EQ(decode("\"name\": \"Col de l'\xC3\x89pine\"\r\n").stationLabel, "Col de l'\xC3\x89pine");
    EXPECT_EQ(decode("\"name\": \"\xE2\x98\x80 Spot\"\r\n").stationLabel, "? Spot");  // no such character
    EXPECT_EQ(decode("\"name\": \"\"\r\n").stationLabel, "");
    EXPECT_EQ(decode("\"name\": null\r\n").stationLabel, "Pioupiou 110");
    EXPECT_EQ(decode("\"name\": \"unclosed\r\n").stationLabel, "Pioupiou 110");
}

// ---- measurement time ----

TEST(PioupiouTime, DayHourAndMinuteOfTheTextSecondsDropped) {
    const auto t = pioupiouMeasurementTime("2024-03-07T14:30:12.000Z", at(2024, 3, 7, 16, 45), kParisSummerBias);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->utc, at(2024, 3, 7, 14, 30));
    EXPECT_NEAR(t->observedAt, at(2024, 3, 7, 16, 30), kOneMs);
}

TEST(PioupiouTime, AStaleMeasurementKeepsItsOwnMonthAndYear) {
    // A beacon quiet since 2018 is not dated into the current month, where it would pass for fresh.
    const auto t = pioupiouMeasurementTime("2018-05-24T21:47:34.000Z", at(2026, 7, 25, 12, 0), 0);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->utc, at(2018, 5, 24, 21, 47));
    const auto late = pioupiouMeasurementTime("2024-01-31T23:58:00.000Z", at(2024, 2, 1, 0, 3), 0);
    ASSERT_TRUE(late);
    EXPECT_EQ(late->utc, at(2024, 1, 31, 23, 58));
}

TEST(PioupiouTime, WithoutAYearAndMonthTheyAreInferredFromTodaysUtcDate) {
    // 23:58 UTC on the 31st read at 00:03 UTC on the 1st belongs to the previous month.
    const auto prev = pioupiouMeasurementTime("----/--/31T23:58", at(2024, 1, 1, 2, 3), kParisSummerBias);
    ASSERT_TRUE(prev);
    EXPECT_EQ(prev->utc, at(2023, 12, 31, 23, 58));
    EXPECT_NEAR(prev->observedAt, at(2024, 1, 1, 1, 58), kOneMs);
    // The bias decides which UTC day today is: 00:30 local on 1 February is still 31 January in UTC at -60.
    EXPECT_EQ(pioupiouMeasurementTime("xxxx-xx-01T08:00", at(2024, 2, 1, 0, 30), -60)->utc, at(2024, 1, 1, 8, 0));
    EXPECT_EQ(pioupiouMeasurementTime("xxxx-xx-01T08:00", at(2024, 2, 1, 0, 30), 0)->utc, at(2024, 2, 1, 8, 0));
    EXPECT_EQ(pioupiouMeasurementTime("xxxx-xx-07T10:00", at(2024, 3, 7, 12, 0), 0)->utc, at(2024, 3, 7, 10, 0));
    // The 31st of a 30-day month does not exist.
    EXPECT_FALSE(pioupiouMeasurementTime("xxxx-xx-31T10:00", at(2024, 4, 15, 12, 0), 0));
}

TEST(PioupiouTime, TextsThatDoNotConvertLeaveTheTimeAsItWas) {
    const double now = at(2024, 3, 7, 16, 0);
    for (const char* text :
         {"", "2024-03-07", "2024-03-07T14:3", "2024-03-07T24:00", "2024-03-07T14:60", "2024-02-30T10:00",
          "2024-13-07T10:00", "0000-03-07T10:00", "2024-03-+7T10:00", "2024-03-07T1a:00"})
        EXPECT_FALSE(pioupiouMeasurementTime(text, now, 0)) << text;
    WeatherReading r;
    r.observedAt = 123.0;
    storePioupiouFigures(decode("\"date\": \"2024-03-07T99:00:00.000Z\",\r\n\"date\": null,\r\n\"date\": \"\",\r\n"),
                         r);
    EXPECT_EQ(r.observedAt, 123.0);
}

// ---- busy mark ----

TEST(PioupiouBusy, OneReadAtATimeAndTheMarkClearsHoweverTheReadEnds) {
    PioupiouBusyMark mark;
    {
        auto hold = mark.tryHold();
        ASSERT_TRUE(hold);
        EXPECT_TRUE(mark.isSet());
        EXPECT_FALSE(mark.tryHold());  // a tick arriving while the read pumps messages
        EXPECT_TRUE(mark.isSet());     // and its refusal does not clear the running read's mark
    }
    EXPECT_FALSE(mark.isSet());
    try {
        auto hold = mark.tryHold();
        throw 1;
    } catch (int) {
    }
    EXPECT_FALSE(mark.isSet());
    EXPECT_TRUE(mark.tryHold());
}

// ---- real answers ----

struct RealAnswer {
    const char* file;
    const char* name;
    DateTimeFields utc;
    int heading;
    double avg, max, min;
};

TEST(PioupiouRealAnswers, ExtractedAndReadLikeTheirJson) {
    const RealAnswer answers[] = {
        {"live_110_official_doc.json", "Pioupiou 110", {2015, 8, 17, 22, 7}, 292, 14, 22, 7},
        {"live_with_meta_110_official_doc.json", "Pioupiou 110", {2015, 8, 17, 22, 19}, 292, 12, 21, 6},
        {"live_19_wind_app_test.json", "Pioupiou 19", {2018, 5, 24, 21, 47}, 315, 0, 0, 0},
        {"live_1333_windbird2radio_test.json",
         "Wetterstation Schwarzwaldgeier",
         {2023, 12, 23, 12, 41},
         225,
         72,
         99,
         47},
    };
    for (const RealAnswer& a : answers) {
        SCOPED_TRACE(a.file);
        const std::string doc = dataFile(a.file);
        ASSERT_FALSE(doc.empty());
        const PioupiouPageLines page = extractPioupiouLines(doc);
        ASSERT_EQ(page.error, PioupiouPageError::None);
        const PioupiouFigures f =
            decode(page.file, PioupiouReadParams{"https://x/live/000", 2, at(2026, 1, 10, 9, 0), kParisSummerBias});
        EXPECT_EQ(f.stationLabel, a.name);
        ASSERT_TRUE(f.observedAt);
        const DateTimeFields utc = decodeDateTime(f.observedAt->utc);
        EXPECT_EQ(utc.year, a.utc.year);
        EXPECT_EQ(utc.month, a.utc.month);
        EXPECT_EQ(utc.day, a.utc.day);
        EXPECT_EQ(utc.hour, a.utc.hour);
        EXPECT_EQ(utc.minute, a.utc.minute);
        EXPECT_EQ(utc.second, 0);
        EXPECT_NEAR(f.observedAt->observedAt, f.observedAt->utc + 2.0 / 24, kOneMs);
        // Every answer carries a null pressure (a string "null" in the hand-made one).
        EXPECT_TRUE(f.pressure.present);
        EXPECT_FALSE(f.pressure.shown);
        EXPECT_EQ(f.pressure.value, kPioupiouNoPressure);
        EXPECT_EQ(f.windDirection.value, a.heading);
        EXPECT_EQ(f.windSpeed.value, a.avg);
        EXPECT_EQ(f.gustSpeed.value, a.max);
        EXPECT_EQ(f.windMin.value, a.min);
        EXPECT_TRUE(f.windSpeed.shown && f.gustSpeed.shown && f.windMin.shown && f.windDirection.shown);
    }
}

}  // namespace
}  // namespace tintal
