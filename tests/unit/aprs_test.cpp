#include "weather/web/aprs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "base/date_time.h"

namespace tintal {
namespace {

constexpr const char* kExample = "Mar 07 2024 14:30\r\n240/012g020t054r000p010P000h77b10130\r\n";

AprsUnits metric() { return {AprsSpeedUnit::Kmh, AprsTemperatureUnit::Celsius, AprsRainUnit::Millimetre}; }

AprsReading decode(std::string_view bytes, AprsReadParameters p = {}) {
    auto r = decodeAprsFile(bytes, p);
    EXPECT_TRUE(r.has_value()) << bytes;
    return r ? *r : AprsReading{};
}

// A one-line file whose weather line is `weather`, in km/h, °C and mm so values read back as written.
AprsReading decodeMetric(std::string_view weather) {
    AprsReadParameters p;
    p.units = metric();
    return decode(weather, p);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << path;
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string dataFile(const std::string& name) { return readFile(std::string(TINTAL_TEST_DATA_DIR) + "/aprs/" + name); }

TEST(AprsExample, DesignUnitsGiveTheFiguresOfTheUiViewFile) {
    AprsReadParameters p;
    p.pressureOffset = 3;
    p.observedAt = encodeDateTime(2024, 3, 1);
    const AprsReading r = decode(kExample, p);
    EXPECT_EQ(r.lineCount, 2u);
    EXPECT_EQ(r.windDirection, 240);
    EXPECT_NEAR(r.windSpeed, 19.312128, 1e-9);
    EXPECT_NEAR(r.gustSpeed, 32.18688, 1e-9);
    EXPECT_NEAR(r.tempExt, 12.2222222, 1e-6);
    EXPECT_NEAR(r.rain24h, 2.54, 1e-9);
    EXPECT_EQ(r.humidityExt, 77);
    EXPECT_DOUBLE_EQ(r.pressure, 1016.0);  // 1013.0 + 3
    EXPECT_DOUBLE_EQ(r.pressureOffset, 3.0);
    EXPECT_NEAR(r.feelsLike, 10.239052, 1e-5);
    ASSERT_TRUE(r.dewPoint.has_value());
    EXPECT_NEAR(*r.dewPoint, 8.268673, 1e-5);
    EXPECT_DOUBLE_EQ(r.observedAt, encodeDateTime(2024, 3, 7, 14, 30));
    EXPECT_TRUE(r.timeFromText);
    EXPECT_EQ(r.dateText, "Mar 07 2024 14:30");
    EXPECT_FALSE(r.forceLocalTime);
    EXPECT_TRUE(r.hasTempExt && r.hasFeelsLike && r.hasPressure && r.hasWindSpeed && r.hasGustSpeed &&
                r.hasWindDirection && r.hasHumidityExt && r.hasRain24h);
    // The beacon's pressure is the packet's, without the offset.
    EXPECT_EQ(r.beaconLine, " TEMP 12C = QNH 1013hPa = WS 19kmh = WCT 10C = HUM 77 ");
}

TEST(AprsExample, MetricUnitsTakeTheValuesAsWritten) {
    AprsReadParameters p;
    p.units = metric();
    const AprsReading r = decode(kExample, p);
    EXPECT_DOUBLE_EQ(r.windSpeed, 12.0);
    EXPECT_DOUBLE_EQ(r.gustSpeed, 20.0);
    EXPECT_DOUBLE_EQ(r.tempExt, 54.0);
    EXPECT_DOUBLE_EQ(r.rain24h, 10.0);
    EXPECT_NEAR(r.feelsLike, 61.624281, 1e-5);
    EXPECT_NEAR(*r.dewPoint, 48.837886, 1e-5);
    EXPECT_EQ(r.beaconLine, " TEMP 54C = QNH 1013hPa = WS 12kmh = WCT 62C = HUM 77 ");
}

TEST(AprsExample, KnotsAndStoreIntoTheReading) {
    AprsReadParameters p;
    p.units.speed = AprsSpeedUnit::Knot;
    const AprsReading r = decode(kExample, p);
    EXPECT_NEAR(r.windSpeed, 12 * 1.852, 1e-9);
    EXPECT_NEAR(r.gustSpeed, 20 * 1.852, 1e-9);

    WeatherReading w;
    w.locator = "wx.txt";
    w.dewPoint = 99;
    r.storeInto(w);
    EXPECT_EQ(w.locator, "wx.txt");
    EXPECT_DOUBLE_EQ(w.windSpeed, r.windSpeed);
    EXPECT_DOUBLE_EQ(w.dewPoint, *r.dewPoint);
    EXPECT_DOUBLE_EQ(w.humidityExt, 77.0);
    EXPECT_DOUBLE_EQ(w.observedAt, r.observedAt);

    // A read without a dew point leaves the old one in place; missing figures get their markers.
    decode("Mar 07 2024 14:30\n240/012g020\n", p).storeInto(w);
    EXPECT_DOUBLE_EQ(w.dewPoint, *r.dewPoint);
    EXPECT_DOUBLE_EQ(w.tempExt, -70.0);
    EXPECT_DOUBLE_EQ(w.humidityExt, -1.0);
    EXPECT_DOUBLE_EQ(w.pressure, 100.0);
    EXPECT_DOUBLE_EQ(w.rain24h, -1.0);
    EXPECT_DOUBLE_EQ(w.feelsLike, -80.0);
}

TEST(AprsTime, UtcTimeLineIsShiftedByTheBias) {
    AprsReadParameters p;
    p.timeBase = AprsTimeBase::Utc;
    p.biasMinutes = -60;  // Paris in winter: UTC = local - 60 min
    EXPECT_NEAR(decode(kExample, p).observedAt, encodeDateTime(2024, 3, 7, 15, 30), 1e-9);
    p.biasMinutes = 300;  // across midnight backwards
    EXPECT_NEAR(decode("Jan 01 2024 02:00\n240/012\n", p).observedAt, encodeDateTime(2023, 12, 31, 21, 0), 1e-9);
}

TEST(AprsTime, FileTimeIsKeptWhenTheTextGivesNone) {
    AprsReadParameters p;
    p.observedAt = encodeDateTime(2024, 3, 7, 10, 0);
    p.fileWriteTime = encodeDateTime(2024, 3, 7, 16, 0);
    // The time line wins over a later file time...
    EXPECT_DOUBLE_EQ(decode(kExample, p).observedAt, encodeDateTime(2024, 3, 7, 14, 30));
    // ...and when the line does not convert, the later of the old value and the file time stays.
    const AprsReading bad = decode("Mai 07 2024 14:30\n240/012\n", p);
    EXPECT_FALSE(bad.timeFromText);
    EXPECT_EQ(bad.dateText, "Mai 07 2024 14:30");  // shown all the same
    EXPECT_DOUBLE_EQ(bad.observedAt, *p.fileWriteTime);
    p.fileWriteTime = encodeDateTime(2024, 3, 7, 9, 0);
    EXPECT_DOUBLE_EQ(decode("Mai 07 2024 14:30\n240/012\n", p).observedAt, p.observedAt);
}

TEST(AprsTime, OnlyTheExactTimeLineShapeIsRead) {
    AprsReadParameters p;
    p.observedAt = 45000.0;
    struct Case {
        const char* line;
        bool shown, converted;
    };
    const Case cases[] = {
        {"Nov 05 2019 8:21", false, false},    // one-digit hour: 16 characters
        {"set. 09 2026 15:54", false, false},  // not an English month, 18 characters
        {"Mar 07 2024 14:3", false, false},   {"Mar 07 2024 14-30", false, false},
        {"Mar:07 2024 14:30", false, false},  // first ":" elsewhere
        {"mar 07 2024 14:30", true, false},   // the names are compared as written
        {"Feb 30 2024 14:30", true, false},   {"Mar 07 2024 24:00", true, false},
        {"Mar 07 2024 14:60", true, false},   {"Mar 07 0000 14:30", true, false},
        {"Mar  7 2024 14:30", true, false},   {"Feb 29 2024 23:59", true, true},
        {"Dec 31 9999 23:59", true, true},
    };
    for (const Case& c : cases) {
        const AprsReading r = decode(std::string(c.line) + "\n240/012\n", p);
        EXPECT_EQ(r.dateText.has_value(), c.shown) << c.line;
        EXPECT_EQ(r.timeFromText, c.converted) << c.line;
        if (!c.converted) {
            EXPECT_DOUBLE_EQ(r.observedAt, 45000.0) << c.line;
        }
        EXPECT_EQ(r.windDirection, 240) << c.line;  // the weather line is read whatever the time line
    }
    EXPECT_DOUBLE_EQ(decode("Feb 29 2024 23:59\n240/012\n").observedAt, encodeDateTime(2024, 2, 29, 23, 59));
}

TEST(AprsTime, TheLineBeforeTheLastIsTheTimeLineAndBlankLinesDoNotCount) {
    const AprsReading r = decode("Weather now\r\n\r\nMar 07 2024 14:30\r\n\r\n240/012g020\r\n\r\n");
    EXPECT_EQ(r.lineCount, 3u);
    EXPECT_TRUE(r.timeFromText);
    EXPECT_EQ(r.windDirection, 240);
    // CR alone ends a line too.
    EXPECT_TRUE(decode("Mar 07 2024 14:30\r240/012").timeFromText);
    // A time line after the weather is not one.
    EXPECT_FALSE(decode("240/012\nMar 07 2024 14:30\n").timeFromText);
}

TEST(AprsTime, RawPacketTakesTheSitesDateAndTimeAsLocal) {
    AprsReadParameters p;
    p.timeBase = AprsTimeBase::Utc;
    p.biasMinutes = -60;
    p.observedAt = 45000.0;
    const AprsReading r = decode(
        "2024-03-07 14:30:12 CET: F4ABC-13&gt;APRS,TCPIP*,qAC,T2FRANCE:@071330z4512.34N/00123.45E_240/012g020t054", p);
    EXPECT_TRUE(r.forceLocalTime);
    EXPECT_EQ(r.dateText, "2024-03-07 14:30:12");
    EXPECT_DOUBLE_EQ(r.observedAt, encodeDateTime(2024, 3, 7, 14, 30));
    EXPECT_EQ(r.windDirection, 240);

    // Indented by the page: positions count from the first "-".
    EXPECT_EQ(decode("   2024-03-07 14:30:12 CET: X_240/012").dateText, "2024-03-07 14:30:12");
    // A date without a time is shown but does not set the time.
    const AprsReading dateOnly = decode("2024-03-07 F4ABC_240/012", p);
    EXPECT_EQ(dateOnly.dateText, "2024-03-07");
    EXPECT_FALSE(dateOnly.timeFromText);
    EXPECT_DOUBLE_EQ(dateOnly.observedAt, 45000.0);
    // A packet without the site's prefix empties the date field.
    const AprsReading bare = decode("F4ABC-13>APRS:_240/012g020", p);
    EXPECT_EQ(bare.dateText, "");
    EXPECT_TRUE(bare.forceLocalTime);
    EXPECT_FALSE(bare.timeFromText);
    // A dash too near the start, or a date that is no calendar date.
    EXPECT_EQ(decode("24-03-07 14:30:12: X_240/012", p).dateText, "");
    EXPECT_FALSE(decode("2024-13-07 14:30:12: X_240/012", p).timeFromText);
    // The date's dashes at the very end of the line: nothing is read past it.
    EXPECT_EQ(decode("_240/012 2024-03-", p).dateText, "2024-03-");
}

TEST(AprsWeatherLine, LetterFieldsAndTheSlashForm) {
    // Letters win over the slash form; the slash form is used only when "c" and "s" both fail.
    AprsReading r = decodeMetric("_c090s005/100/200");
    EXPECT_EQ(r.windDirection, 90);
    EXPECT_DOUBLE_EQ(r.windSpeed, 5.0);
    r = decodeMetric("c090g010");  // a direction without a speed
    EXPECT_EQ(r.windDirection, 90);
    EXPECT_FALSE(r.hasWindSpeed);
    EXPECT_DOUBLE_EQ(r.windSpeed, -1.0);
    r = decodeMetric("s005 090/020");  // the slash form is not looked at when "s" converts
    EXPECT_EQ(r.windDirection, -1);
    r = decodeMetric("90/020t010");  // slash before position 4
    EXPECT_FALSE(r.hasWindDirection || r.hasWindSpeed);
    r = decodeMetric("x90/020");  // either part not converting loses both
    EXPECT_FALSE(r.hasWindDirection || r.hasWindSpeed);
    r = decodeMetric("090/0a0");
    EXPECT_FALSE(r.hasWindDirection || r.hasWindSpeed);
    r = decodeMetric("360/005");
    EXPECT_FALSE(r.hasWindDirection);
    EXPECT_DOUBLE_EQ(r.windSpeed, 5.0);
    EXPECT_EQ(decodeMetric("359/005").windDirection, 359);
    EXPECT_EQ(decodeMetric("000/005").windDirection, 0);
    EXPECT_FALSE(decodeMetric("c-01").hasWindDirection);
}

TEST(AprsWeatherLine, MissingAndOddFields) {
    // "..." of a missing gust is that field alone: the fields after it are read.
    AprsReading r = decodeMetric("240/012g...t054h77b10130");
    EXPECT_EQ(r.windDirection, 240);
    EXPECT_FALSE(r.hasGustSpeed);
    EXPECT_DOUBLE_EQ(r.gustSpeed, 0.0);
    EXPECT_DOUBLE_EQ(r.tempExt, 54.0);
    EXPECT_EQ(r.humidityExt, 77);
    EXPECT_DOUBLE_EQ(r.pressure, 1013.0);
    // Dotted rain, pressure and humidity, then a comment that starts with a "." and holds figure letters.
    r = decodeMetric(".../...g005t020r...p...P...b.....h..L000.Wxs099h55");
    EXPECT_FALSE(r.hasWindDirection || r.hasWindSpeed || r.hasRain24h || r.hasPressure || r.hasHumidityExt);
    EXPECT_DOUBLE_EQ(r.gustSpeed, 5.0);
    EXPECT_DOUBLE_EQ(r.tempExt, 20.0);
    // A "." that is not a whole dotted field still starts the comment.
    r = decodeMetric("240/012t05.h77");
    EXPECT_FALSE(r.hasTempExt || r.hasHumidityExt);

    // Two digits cannot hold 100 %: the protocol writes it "h00".
    EXPECT_EQ(decodeMetric("h00").humidityExt, 100);
    EXPECT_EQ(decodeMetric("h01").humidityExt, 1);
    EXPECT_FALSE(decodeMetric("h-1").hasHumidityExt);  // would read as the unknown marker
    EXPECT_EQ(decodeMetric("h+5").humidityExt, 5);

    // A field cut short by the end of the line is not read as a smaller number.
    r = decodeMetric("240/012t05h7");
    EXPECT_FALSE(r.hasTempExt || r.hasHumidityExt);
    EXPECT_FALSE(decodeMetric("b1013").hasPressure);
    EXPECT_FALSE(decodeMetric("240/01").hasWindSpeed);

    // Signs: negative temperatures are written "t-05"; "t00-235" of a broken station does not convert.
    AprsReadParameters f;
    EXPECT_NEAR(decode("t-05", f).tempExt, -37.0 / 1.8, 1e-9);
    EXPECT_FALSE(decodeMetric("t00-235").hasTempExt);
    EXPECT_FALSE(decodeMetric("b000-960").hasPressure);
    // Below -70 in the data's own unit counts as missing, in °F as in °C.
    EXPECT_FALSE(decodeMetric("t-71").hasTempExt);
    EXPECT_DOUBLE_EQ(decodeMetric("t-70").tempExt, -70.0);
    EXPECT_NEAR(decode("t-70", f).tempExt, -102.0 / 1.8, 1e-9);
    EXPECT_FALSE(decode("t-71", f).hasTempExt);

    // The first occurrence of a letter counts, case matters ("P" is not "p").
    r = decodeMetric("P050p020t010 t099");
    EXPECT_DOUBLE_EQ(r.rain24h, 20.0);
    EXPECT_DOUBLE_EQ(r.tempExt, 10.0);
    EXPECT_EQ(r.fields.rainSinceMidnight, 50);
    EXPECT_FALSE(decodeMetric("P050").hasRain24h);
    EXPECT_DOUBLE_EQ(decodeMetric("P050").rain24h, -1.0);

    // A letter inside the comment is taken when the field itself is absent: "?sade" is no speed.
    r = decode("X>Y:@101317z6024.78N/02503.97E_156/001g005t038r000p000P000h91b10093/type ?sade for more wx info");
    EXPECT_EQ(r.windDirection, 156);
    EXPECT_NEAR(r.windSpeed, 1.609344, 1e-9);
}

TEST(AprsWeatherLine, CutsAtTheUnderscoreAndTheDot) {
    EXPECT_EQ(aprsWeatherPart("A>B:=1.0N/2.0E_090/005t050.comment"), "090/005t050");
    EXPECT_EQ(aprsWeatherPart("090/005t050"), "090/005t050");
    EXPECT_EQ(aprsWeatherPart("a_b_c"), "b_c");
    // At most 200 characters go, the dot included: what lies beyond is read again.
    const std::string far = "t010." + std::string(199, 'x') + "h55";
    EXPECT_EQ(aprsWeatherPart(far), "t010h55");
    EXPECT_EQ(decodeMetric(far).humidityExt, 55);
    EXPECT_EQ(aprsWeatherPart("t010." + std::string(198, 'x') + "h55"), "t01055");
    EXPECT_FALSE(decodeMetric("t010." + std::string(198, 'x') + "h55").hasHumidityExt);
}

TEST(AprsWeatherLine, DerivedFiguresFollowTheirThresholds) {
    // Wind chill from 5.0 km/h on, not below; dew point needs a humidity and a temperature.
    AprsReading r = decodeMetric("c000s005t010h50");
    EXPECT_TRUE(r.hasFeelsLike);
    EXPECT_NEAR(r.feelsLike, 13.12 + 6.215 + (3.965 - 11.37) * std::pow(5.0, 0.16), 1e-9);
    r = decodeMetric("c000s004t010");
    EXPECT_FALSE(r.hasFeelsLike);
    EXPECT_DOUBLE_EQ(r.feelsLike, -80.0);
    AprsReadParameters p;  // 3 mph = 4.83 km/h, 4 mph = 6.44 km/h
    EXPECT_FALSE(decode("c000s003t050", p).hasFeelsLike);
    EXPECT_TRUE(decode("c000s004t050", p).hasFeelsLike);
    EXPECT_FALSE(decodeMetric("c000s020").hasFeelsLike);
    EXPECT_FALSE(decodeMetric("t010").dewPoint.has_value());
    EXPECT_FALSE(decodeMetric("h50").dewPoint.has_value());
    EXPECT_NEAR(*decodeMetric("t000h50").dewPoint, -9.295547, 1e-5);
    EXPECT_NEAR(*decodeMetric("t020h99").dewPoint, 19.836785, 1e-5);
}

TEST(AprsBeacon, PartsAppearOnlyWhenKnownAndRoundHalfEven) {
    EXPECT_EQ(decodeMetric("x").beaconLine, " ");
    EXPECT_EQ(decodeMetric("b10125").beaconLine, " = QNH 1012hPa ");  // 1012.5 -> 1012
    EXPECT_EQ(decodeMetric("b10135").beaconLine, " = QNH 1014hPa ");
    EXPECT_EQ(decodeMetric("t-05h40").beaconLine, " TEMP -5C = HUM 40 ");
    EXPECT_EQ(decodeMetric("t000").beaconLine, " TEMP 0C ");
    // A negative speed is shown but not sent.
    EXPECT_EQ(decodeMetric("c000s-05").beaconLine, " ");
    AprsReadParameters p;  // 31 °F = -0.56 °C
    EXPECT_EQ(decode("t031", p).beaconLine, " TEMP -1C ");
    EXPECT_EQ(decode("t032", p).beaconLine, " TEMP 0C ");
    EXPECT_EQ(decodeMetric("c000s010t000").beaconLine, " TEMP 0C = WS 10kmh = WCT -3C ");  // -3.31
    // A temperature just below zero is sent as 0, not "-0".
    AprsReading r;
    r.hasTempExt = true;
    r.tempExt = -0.3;
    EXPECT_EQ(aprsBeaconLine(r), " TEMP 0C ");
}

TEST(AprsBeacon, FileBytesAreWindows1252WithCrLf) {
    EXPECT_EQ(aprsBeaconFileBytes(" TEMP 12C = HUM 77 "), " TEMP 12C = HUM 77 \r\n");
    EXPECT_EQ(aprsBeaconFileBytes("é"), "\xE9\r\n");
    EXPECT_EQ(aprsBeaconFileBytes(decode(kExample).beaconLine),
              " TEMP 12C = QNH 1013hPa = WS 19kmh = WCT 10C = HUM 77 \r\n");
}

TEST(AprsFile, NothingToDecode) {
    EXPECT_FALSE(decodeAprsFile("", {}).has_value());
    EXPECT_FALSE(decodeAprsFile("\r\n\n\r\r\n", {}).has_value());
    // A line of spaces is a line: decoded as nothing known.
    const auto spaces = decodeAprsFile("   \n", {});
    ASSERT_TRUE(spaces.has_value());
    EXPECT_FALSE(spaces->hasTempExt || spaces->hasPressure || spaces->hasWindSpeed);
    EXPECT_EQ(spaces->beaconLine, " ");
}

TEST(AprsPage, ExtractsTheLastRawLineWithoutMarkup) {
    EXPECT_TRUE(hasAprsPageMarker("<!DOCTYPE html>"));
    EXPECT_TRUE(hasAprsPageMarker("\r\n<html>"));
    EXPECT_FALSE(hasAprsPageMarker("Mar 07 2024 14:30\r\n<"));
    EXPECT_FALSE(hasAprsPageMarker(""));

    const std::string page =
        "<html><body>\n"
        "<span class=\"raw_line\">2024-03-07 13:20:00 CET: <a href=\"x\">F4ABC-13</a>&gt;APRS:_100/001</span>\n"
        "<div class='raw_line'>2024-03-07 14:30:12 CET: <a href=\"x\">F4ABC-13</a>&gt;APRS,TCPIP*:"
        "@071330z4512.34N/00123.45E_240/012g020t054r000p010P000h77b10130</div>\r\n"
        "<p class=\"raw_line\"></p>\n"
        "</body></html>";
    // The last line naming raw_line wins, even when it holds no packet.
    EXPECT_EQ(extractAprsRawLine(page).fetchError, 7);
    const std::string good = page.substr(0, page.find("<p "));
    const AprsRawLine raw = extractAprsRawLine(good);
    ASSERT_EQ(raw.fetchError, 0);
    EXPECT_EQ(raw.line,
              "2024-03-07 14:30:12 CET: F4ABC-13&gt;APRS,TCPIP*:@071330z4512.34N/00123.45E_240/012g020t054r000p010"
              "P000h77b10130");

    // The packet written back is decoded as one line, the site's time taken as local.
    const AprsReading r = decode(raw.line + "\r\n");
    EXPECT_EQ(r.windDirection, 240);
    EXPECT_NEAR(r.tempExt, 12.2222222, 1e-6);
    EXPECT_DOUBLE_EQ(r.observedAt, encodeDateTime(2024, 3, 7, 14, 30));
}

TEST(AprsPage, FailureCodes) {
    EXPECT_EQ(extractAprsRawLine("").fetchError, 5);
    EXPECT_EQ(extractAprsRawLine("\n").fetchError, 6);  // one empty line is a line
    EXPECT_EQ(extractAprsRawLine("<html><body>Please log in</body></html>").fetchError, 6);
    EXPECT_EQ(extractAprsRawLine("<p>RAW_LINE _x</p>").fetchError, 6);  // the class name is matched as written
    EXPECT_EQ(extractAprsRawLine("<span class=\"raw_line\">no packet</span>").fetchError, 7);
    // An underscore only inside a tag is gone with the tag.
    EXPECT_EQ(extractAprsRawLine("<span id=\"a_b\" class=\"raw_line\">x</span>").fetchError, 7);
    EXPECT_EQ(extractAprsRawLine("raw_line").fetchError, 0);  // the class name itself has one
}

TEST(AprsPage, MarkupRemoval) {
    EXPECT_EQ(stripAprsMarkup("a<b>c<d>e"), "ace");
    EXPECT_EQ(stripAprsMarkup("no tags"), "no tags");
    EXPECT_EQ(stripAprsMarkup(""), "");
    EXPECT_EQ(stripAprsMarkup("<>"), "");
    // A "<" without its ">" takes everything before it with it.
    EXPECT_EQ(stripAprsMarkup("abc<b>def<ghi"), "ghi");
    // A stray ">" before the first "<": everything through that "<" goes.
    EXPECT_EQ(stripAprsMarkup("a>b<c>d"), "c>d");
    EXPECT_EQ(stripAprsMarkup("x<a>y>z<b>w"), "b>w");
    EXPECT_EQ(stripAprsMarkup("<<a>>b"), ">b");
    EXPECT_EQ(stripAprsMarkup("1 &lt; 2 &gt; 0"), "1 &lt; 2 &gt; 0");
    // Long runs stay linear.
    EXPECT_EQ(stripAprsMarkup(std::string(200000, '<') + "z"), "z");
    std::string tags;
    for (int i = 0; i < 50000; ++i) tags += "<i>.";
    EXPECT_EQ(stripAprsMarkup(tags), std::string(50000, '.'));
}

TEST(AprsSite, TextsTakeTheHostAsAParameter) {
    EXPECT_EQ(aprsLoginPageAddress("aprs.example"), "https://aprs.example/?c=login");
    EXPECT_EQ(aprsLoginButtonCaption("aprs.example"), "Login aprs.example");
    EXPECT_EQ(aprsCheckAddressMessage("aprs.example"),
              "SVP vérifiez l'URL ou essayer de vous loguer au site aprs.example puis Rafraîchir");
    EXPECT_TRUE(aprsAddressNamesSite("https://aprs.example/?c=raw&call=F4ABC-13", "aprs.example"));
    EXPECT_FALSE(aprsAddressNamesSite("https://other.example/wx.html", "aprs.example"));
    EXPECT_FALSE(aprsAddressNamesSite("https://other.example/", ""));
}

// ---- real files ----

TEST(AprsRealData, WeatherSoftwareFiles) {
    struct Expect {
        const char* file;
        bool timeRead;
        int direction;
        double wind, gust, temp, rain;
        int humidity;
        double pressure;
    };
    const Expect expected[] = {
        // "Nov 05 2019 8:21": one-digit hour, the time stays the file's; no "p" field.
        {"wxnow_Philip-Shields.txt", false, 248, 5 * 1.609344, 9 * 1.609344, 85.0 / 9, -1.0, 77, 1018.0},
        {"wxnow_TrimbleSoftware.txt", true, 272, 10 * 1.609344, 6 * 1.609344, 185.0 / 9, 7.62, 61, 1015.0},
        // A trailing "\" after the pressure.
        {"wxnow_compuvin.txt", true, 192, 0.0, 9 * 1.609344, 145.0 / 9, 0.0, 60, 1021.7},
        // "set. 09 2026 15:54": Portuguese month; "null" after the pressure.
        {"wxnow_meteoranhados.txt", false, 84, 3 * 1.609344, 9 * 1.609344, 195.0 / 9, 3.302, 50, 1070.2},
    };
    const std::map<std::string, double> times = {
        {"wxnow_TrimbleSoftware.txt", encodeDateTime(2009, 2, 1, 12, 34)},
        {"wxnow_compuvin.txt", encodeDateTime(2022, 10, 10, 13, 1)},
    };
    for (const Expect& e : expected) {
        AprsReadParameters p;
        p.fileWriteTime = 46000.25;
        const AprsReading r = decode(dataFile(e.file), p);
        SCOPED_TRACE(e.file);
        EXPECT_EQ(r.lineCount, 2u);
        EXPECT_EQ(r.timeFromText, e.timeRead);
        EXPECT_DOUBLE_EQ(r.observedAt, e.timeRead ? times.at(e.file) : 46000.25);
        EXPECT_EQ(r.windDirection, e.direction);
        EXPECT_NEAR(r.windSpeed, e.wind, 1e-9);
        EXPECT_NEAR(r.gustSpeed, e.gust, 1e-9);
        EXPECT_NEAR(r.tempExt, e.temp, 1e-9);
        EXPECT_NEAR(r.rain24h, e.rain, 1e-9);
        EXPECT_EQ(r.humidityExt, e.humidity);
        EXPECT_NEAR(r.pressure, e.pressure, 1e-9);
        EXPECT_TRUE(r.dewPoint.has_value());
    }
    EXPECT_EQ(decode(dataFile("wxnow_TrimbleSoftware.txt")).beaconLine,
              " TEMP 21C = QNH 1015hPa = WS 16kmh = WCT 21C = HUM 61 ");
}

std::vector<std::string> realPackets() {
    std::istringstream in(dataFile("packets.txt"));
    std::vector<std::string> packets;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line[0] != '#') packets.push_back(line);
    }
    return packets;
}

TEST(AprsRealData, EveryPacketDecodesToPlausibleFigures) {
    const std::vector<std::string> packets = realPackets();
    ASSERT_EQ(packets.size(), 20u);
    for (const std::string& packet : packets) {
        SCOPED_TRACE(packet);
        // Served by the site inside its markup, escaped, then extracted and decoded as the read routine does.
        std::string escaped;
        for (char c : packet) escaped += c == '>' ? "&gt;" : c == '<' ? "&lt;" : std::string(1, c);
        const std::string page =
            "<html>\n<div class=\"raw_line\">2025-05-19 16:02:11 CEST: <b>" + escaped + "</b></div>\n</html>\n";
        const AprsRawLine raw = extractAprsRawLine(page);
        ASSERT_EQ(raw.fetchError, 0);
        AprsReadParameters p;
        const AprsReading r = decode(raw.line + "\r\n", p);
        EXPECT_EQ(r.lineCount, 1u);
        EXPECT_DOUBLE_EQ(r.observedAt, encodeDateTime(2025, 5, 19, 16, 2));
        if (r.hasTempExt) {
            EXPECT_GT(r.tempExt, -30.0);
            EXPECT_LT(r.tempExt, 45.0);
        }
        if (r.hasPressure) {
            // One ESP32 gateway sends 610 hPa: read as sent, kept from the announcement by the limits.
            EXPECT_GT(r.pressure, 600.0);
            EXPECT_LT(r.pressure, 1050.0);
        }
        if (r.hasWindSpeed) {
            EXPECT_GE(r.windSpeed, 0.0);
            EXPECT_LT(r.windSpeed, 60.0);
        }
        if (r.hasHumidityExt) {
            EXPECT_GE(r.humidityExt, 1);
            EXPECT_LE(r.humidityExt, 100);
        }
        EXPECT_EQ(r.beaconLine.back(), ' ');
        // The same packet read straight from a file (no site prefix) gives the same figures.
        const AprsReading direct = decode(packet, p);
        EXPECT_EQ(direct.windDirection, r.windDirection);
        EXPECT_EQ(direct.beaconLine, r.beaconLine);
        EXPECT_FALSE(direct.timeFromText);
    }
}

TEST(AprsRealData, PacketsCheckedByHand) {
    const std::vector<std::string> packets = realPackets();
    std::map<std::string, AprsReading> byCall;
    for (const std::string& packet : packets) {
        const std::string call = packet.substr(0, packet.find('>'));
        if (!byCall.count(call)) byCall[call] = decode(packet);
    }
    // 150/002g004t039r001P002p004h00b10125XRSW
    const AprsReading& a = byCall.at("OH2RDP-1");
    EXPECT_EQ(a.windDirection, 150);
    EXPECT_NEAR(a.windSpeed, 3.218688, 1e-9);
    EXPECT_NEAR(a.gustSpeed, 6.437376, 1e-9);
    EXPECT_NEAR(a.tempExt, 3.888889, 1e-6);
    EXPECT_NEAR(a.rain24h, 1.016, 1e-9);
    EXPECT_EQ(a.humidityExt, 100);             // h00
    EXPECT_NEAR(*a.dewPoint, 3.888889, 1e-6);  // saturated air: the dew point is the temperature
    EXPECT_DOUBLE_EQ(a.pressure, 1012.5);
    EXPECT_FALSE(a.hasFeelsLike);
    EXPECT_EQ(a.beaconLine, " TEMP 4C = QNH 1012hPa = WS 3kmh = HUM 100 ");
    // _354/018g026t064r342p389h38b10067.wview_5_21_7
    const AprsReading& k = byCall.at("K6YG");
    EXPECT_EQ(k.windDirection, 354);
    EXPECT_NEAR(k.windSpeed, 28.968192, 1e-6);
    EXPECT_NEAR(k.tempExt, 17.777778, 1e-6);
    EXPECT_NEAR(k.rain24h, 98.806, 1e-9);
    EXPECT_NEAR(k.feelsLike, 16.764268, 1e-5);
    EXPECT_NEAR(*k.dewPoint, 3.196022, 1e-5);
    EXPECT_DOUBLE_EQ(k.pressure, 1006.7);
    // Positionless: _10090556c220s004g005t077r000p000P000h50b09900
    const AprsReading& s = byCall.at("FW0727");
    EXPECT_EQ(s.windDirection, 220);
    EXPECT_NEAR(s.windSpeed, 6.437376, 1e-9);
    EXPECT_DOUBLE_EQ(s.tempExt, 25.0);
    EXPECT_EQ(s.humidityExt, 50);
    EXPECT_DOUBLE_EQ(s.pressure, 990.0);
    // _.../...g001t033r000p020P020b09860h98Oregon: no direction and speed, the rest is read.
    const AprsReading& n = byCall.at("N0CALL");
    EXPECT_FALSE(n.hasWindDirection || n.hasWindSpeed);
    EXPECT_NEAR(n.gustSpeed, 1.609344, 1e-9);
    EXPECT_NEAR(n.tempExt, 5.0 / 9, 1e-9);  // 33 °F
    EXPECT_NEAR(n.rain24h, 5.08, 1e-9);
    EXPECT_DOUBLE_EQ(n.pressure, 986.0);
    EXPECT_EQ(n.humidityExt, 98);
    // ESP32 gateways without a rain gauge: r...p...P... is no rain, humidity and pressure follow.
    const AprsReading& esp = byCall.at("CA3DPI-13");
    EXPECT_NEAR(esp.tempExt, 230.0 / 9, 1e-9);  // 78 °F
    EXPECT_FALSE(esp.hasRain24h);
    EXPECT_EQ(esp.humidityExt, 62);
    EXPECT_DOUBLE_EQ(esp.pressure, 967.0);
    const AprsReading& odd = byCall.at("HS5ZEZ");
    EXPECT_EQ(odd.humidityExt, 100);
    EXPECT_FALSE(odd.hasPressure || odd.hasRain24h);  // b000-960 is no pressure
    EXPECT_FALSE(byCall.at("VU3XUS-13").hasTempExt);  // t00-235 is no temperature
    // b09860h98Oregon...
    EXPECT_DOUBLE_EQ(byCall.at("JH9YVX").pressure, 986.0);
    EXPECT_EQ(byCall.at("JH9YVX").humidityExt, 98);
}

}  // namespace
}  // namespace tintal
