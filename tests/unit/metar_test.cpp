#include "weather/web/metar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "base/date_time.h"

namespace tintal {
namespace {

constexpr int kParisWinterBias = -60;  // UTC = local + bias
const std::string kLfpg = "LFPG 071430Z 24012KT 9999 FEW040 12/08 Q1013 NOSIG";

double now(int year, int month, int day, int hour, int minute) {
    return encodeDateTime(year, month, day, hour, minute);
}

MetarGroups decode(const std::string& report, int bias = 0) {
    return decodeMetarReport(report, now(2024, 3, 7, 16, 0), bias);
}

MetarFigures figuresOf(const std::string& report, double offset = 0) {
    return metarFigures(decode(report), offset, false);
}

DateTimeFields utcOf(const MetarGroups& g) { return decodeDateTime(g.time.value().utc); }

// An export line (UI-View or beacon) made from a report's groups and figures.
std::string exportLine(const std::string& report, std::string (*format)(const MetarGroups&, const MetarFigures&)) {
    const MetarGroups g = decode(report);
    return format(g, metarFigures(g, 0, false));
}

// ---- page extraction ----

const std::string kIcaoAddress = "https://www.allmetsat.test/metar-taf/france.php?icao=LFPG //Paris CDG";
const std::string kIdsAddress = "https://aviationweather.test/cgi-bin/data/metar.php?ids=LFPG&hours=0";

TEST(MetarPage, CutsTheReportOutOfAnIcaoProviderPage) {
    const std::string page =
        "<html>\r\n<head><title>LFPG METAR TAF</title></head>\r\n"
        "<p><b>TAF:</b> LFPG 071100Z 0712/0818 23012KT 9999 SCT030</p>\r\n"
        "<div class=\"c\"><b>METAR:</b> LFPG 071430Z 24012KT 9999 FEW040 12/08 Q1013 NOSIG</div>   \r\n"
        "</html>\r\n";
    const MetarPageLine got = extractMetarLine(page, kIcaoAddress);
    EXPECT_EQ(got.error, MetarPageError::None);
    EXPECT_EQ(got.line, kLfpg);
}

TEST(MetarPage, CutsTheReportOutOfAnIdsProviderPage) {
    const std::string page =
        "<!DOCTYPE html>\n<body>\n<code>LFPG 071430Z 24012KT 9999 FEW040 12/08 Q1013 NOSIG</code><br/>\n</body>\n";
    const MetarPageLine got = extractMetarLine(page, kIdsAddress);
    EXPECT_EQ(got.error, MetarPageError::None);
    EXPECT_EQ(got.line, kLfpg);
}

TEST(MetarPage, TheIdsRuleWinsWhenBothProvidersMatch) {
    const std::string page = "<p>EGLL 071420Z 25010KT 9999 11/07 Q1012</p>\n<p>" + kLfpg + "</p>\n";
    EXPECT_EQ(extractMetarLine(page, "https://aviationweather.allmetsat.test/?icao=LFPG&ids=EGLL").line,
              "EGLL 071420Z 25010KT 9999 11/07 Q1012");
    // Without the marker word the parameter means nothing.
    EXPECT_EQ(extractMetarLine(page, "https://example.test/?ids=EGLL").error, MetarPageError::NoReport);
    EXPECT_EQ(extractMetarLine(page, "https://example.test/?icao=LFPG").error, MetarPageError::NoReport);
    // A code cut short by the end of the address is no code.
    EXPECT_EQ(extractMetarLine(page, "https://aviationweather.test/?ids=EGL").error, MetarPageError::NoReport);
}

TEST(MetarPage, OnlyTheFirstOccurrenceOfTheCodeOnALineCounts) {
    // The first LFPG is followed by "<", so this line is passed over although a report follows.
    const std::string page = "<a>LFPG</a> LFPG 071400Z 23010KT Q1012\n" + kLfpg + "\n";
    EXPECT_EQ(extractMetarLine(page, kIcaoAddress).line, kLfpg);
    // The time group's "Z" must sit 11 places after the code.
    EXPECT_EQ(extractMetarLine("LFPG 0714Z 24012KT\nLFPG 07143Z\n", kIcaoAddress).error, MetarPageError::NoReport);
    EXPECT_EQ(extractMetarLine("LFPG 071430", kIcaoAddress).error, MetarPageError::NoReport);  // line too short
    EXPECT_EQ(extractMetarLine("LFPG_071430Z 24012KT", kIcaoAddress).error, MetarPageError::NoReport);
    EXPECT_EQ(extractMetarLine("lfpg 071430Z 24012KT", kIcaoAddress).error, MetarPageError::NoReport);
}

TEST(MetarPage, RemovesUnclosedAndStrayMarkup) {
    // No ">" after the last "<": the text before it goes too, which leaves what follows.
    EXPECT_EQ(extractMetarLine("LFPG 071430Z 24012KT <b 12/08 Q1013", kIcaoAddress).line, "b 12/08 Q1013");
    // A ">" before the first "<": everything up to that "<" goes.
    EXPECT_EQ(extractMetarLine("LFPG 071430Z 24012KT > 12/08 <br>Q1013", kIcaoAddress).line, "br>Q1013");
    // Tags cut out of the middle of the report, spaces and tabs trimmed at both ends.
    EXPECT_EQ(extractMetarLine("<td>LFPG 071430Z <b>24012KT</b> 12/08 Q1013 \t</td>", kIcaoAddress).line,
              "LFPG 071430Z 24012KT 12/08 Q1013");
}

TEST(MetarPage, EmptyPageAndPageWithoutReport) {
    EXPECT_EQ(extractMetarLine("", kIcaoAddress).error, MetarPageError::Empty);
    EXPECT_EQ(static_cast<int>(MetarPageError::Empty), 5);
    EXPECT_EQ(static_cast<int>(MetarPageError::NoReport), 6);
    EXPECT_EQ(extractMetarLine("\n", kIcaoAddress).error, MetarPageError::NoReport);
    EXPECT_EQ(extractMetarLine("<html>no data</html>", kIcaoAddress).error, MetarPageError::NoReport);
    EXPECT_EQ(extractMetarLine("<p>" + kLfpg + "</p>", "https://allmetsat.test/?lugar=LFPG").error,
              MetarPageError::NoReport);
}

TEST(MetarPage, ALongOneLinePageIsCutInLinearTime) {
    std::string page = kLfpg;
    for (int i = 0; i < 200000; ++i) page += "<i>x</i>";
    const MetarPageLine got = extractMetarLine(page, kIcaoAddress);
    EXPECT_EQ(got.line, kLfpg + std::string(200000, 'x'));
}

// ---- stored file ----

TEST(MetarFile, TheReportIsTheLastNonEmptyLine) {
    EXPECT_EQ(metarReportLine("2024/03/07 14:30\r\n" + kLfpg + "\r\n\r\n"), kLfpg);
    EXPECT_EQ(metarReportLine("2024/03/07 14:30\n" + kLfpg), kLfpg);
    EXPECT_EQ(metarReportLine("old\r" + kLfpg + "\r"), kLfpg);
    EXPECT_FALSE(metarReportLine(""));
    EXPECT_FALSE(metarReportLine("\r\n\n\r"));
}

// ---- decoding ----

TEST(MetarDecode, TheReferenceReportGivesEveryFigure) {
    const MetarGroups g = decode(kLfpg, kParisWinterBias);
    EXPECT_EQ(g.station, "LFPG");
    const DateTimeFields utc = utcOf(g);
    EXPECT_EQ(utc.year, 2024);
    EXPECT_EQ(utc.month, 3);
    EXPECT_EQ(utc.day, 7);
    EXPECT_EQ(utc.hour, 14);
    EXPECT_EQ(utc.minute, 30);
    EXPECT_NEAR(g.time->observedAt, now(2024, 3, 7, 15, 30), 1e-9);
    EXPECT_EQ(g.time->timeStampLine, "Mar 07 2024 15:30");

    const MetarFigures f = metarFigures(g, 2.0, false);
    EXPECT_EQ(f.windDirection, 240);
    EXPECT_NEAR(f.windSpeed, 22.224, 1e-9);
    EXPECT_TRUE(f.windShown);
    EXPECT_EQ(f.gustSpeed, 0.0);
    EXPECT_FALSE(f.gustShown);
    EXPECT_EQ(f.tempExt, 12.0);
    EXPECT_EQ(f.dewPoint, 8.0);
    EXPECT_EQ(f.pressure, 1015.0);  // 1013 plus the offset
    EXPECT_EQ(f.qnh, 1013.0);
    EXPECT_EQ(f.humidityExt, 77);
    EXPECT_NEAR(f.feelsLike, 9.718, 0.001);
    EXPECT_TRUE(f.feelsLikeShown);
    EXPECT_EQ(f.presentWeather, 0u);
    EXPECT_EQ(f.precipitationCaption, "Précipitations = --");
    EXPECT_FALSE(f.precipitationShown);
}

TEST(MetarDecode, TheDayTakesTheMonthOfTodayInUtc) {
    const std::string report = "LFPG 312350Z 24012KT 12/08 Q1013";
    // 00:05 UTC on the 1st, an hour later in Paris: the report belongs to the previous month.
    auto g = decodeMetarReport(report, now(2024, 4, 1, 1, 5), kParisWinterBias);
    DateTimeFields utc = utcOf(g);
    EXPECT_EQ(utc.year, 2024);
    EXPECT_EQ(utc.month, 3);
    EXPECT_EQ(utc.day, 31);
    EXPECT_EQ(g.time->timeStampLine, "Apr 01 2024 00:50");
    // New Year: back into December of the previous year.
    utc = utcOf(decodeMetarReport(report, now(2025, 1, 1, 0, 5), 0));
    EXPECT_EQ(utc.year, 2024);
    EXPECT_EQ(utc.month, 12);
    // Local time still on the 31st while UTC is already on the 1st (bias +300, UTC-5).
    utc = utcOf(decodeMetarReport("KJFK 010450Z 24012KT", now(2024, 3, 31, 23, 55), 300));
    EXPECT_EQ(utc.month, 4);
    EXPECT_EQ(utc.day, 1);
    // Days before the 28th, and any day when today is not the 1st, stay in today's month.
    utc = utcOf(decodeMetarReport("LFPG 281200Z", now(2024, 3, 1, 12, 0), 0));
    EXPECT_EQ(utc.month, 2);
    EXPECT_EQ(utc.day, 28);
    utc = utcOf(decodeMetarReport("LFPG 271200Z", now(2024, 4, 1, 12, 0), 0));
    EXPECT_EQ(utc.month, 4);
    utc = utcOf(decodeMetarReport("LFPG 311200Z", now(2024, 3, 2, 12, 0), 0));
    EXPECT_EQ(utc.month, 3);
    // A day the month does not have gives no time.
    const auto none = decodeMetarReport("LFPG 301200Z", now(2024, 3, 1, 12, 0), 0);  // February 30th
    EXPECT_FALSE(none.time);
    EXPECT_TRUE(none.timeGroupRejected);
}

TEST(MetarDecode, TheFirstTimeGroupThatConvertsIsTaken) {
    auto g = decode("LFPG 072460Z 071415Z 24012KT");
    EXPECT_EQ(utcOf(g).hour, 14);
    EXPECT_EQ(utcOf(g).minute, 15);
    EXPECT_FALSE(g.timeGroupRejected);
    g = decode("LFPG 07AB30Z 24012KT");
    EXPECT_FALSE(g.time);
    EXPECT_TRUE(g.timeGroupRejected);
    g = decode("LFPG 24012KT");
    EXPECT_FALSE(g.time);
    EXPECT_FALSE(g.timeGroupRejected);
}

TEST(MetarDecode, WindGroupsInEveryUnit) {
    struct Case {
        const char* group;
        int direction;
        double speed, gust;
    };
    const Case cases[] = {
        {"24012KT", 240, 22.224, 0},
        {"VRB03KT", kVariableDirection, 5.556, 0},
        {"27015G25KT", 270, 27.78, 46.3},
        {"09005MPS", 90, 18.0, 0},
        {"21020KMH", 210, 20.0, 0},
        {"10009G16MPS", 100, 32.4, 57.6},
        {"00000KT", 0, 0.0, 0},
        {"/////KT", kNoDirection, kMetarNoWind, 0},
        {"24012G//KT", 240, 22.224, 0},
        {"360110KT", 360, 203.72, 0},
        {"37010KT", kNoDirection, 18.52, 0},
    };
    for (const Case& c : cases) {
        const MetarFigures f = figuresOf(std::string("XXXX 071430Z ") + c.group + " 10/05");
        EXPECT_EQ(f.windDirection, c.direction) << c.group;
        EXPECT_NEAR(f.windSpeed, c.speed, 1e-9) << c.group;
        EXPECT_NEAR(f.gustSpeed, c.gust, 1e-9) << c.group;
        EXPECT_EQ(f.gustShown, c.gust != 0) << c.group;
    }
    // The first token ending in a unit ends the scan even when it does not convert.
    const MetarFigures f = figuresOf("XXXX 071430Z ABCKT 24012KT");
    EXPECT_FALSE(f.windShown);
    EXPECT_EQ(f.windDirection, kNoDirection);
    // Token 0 is the station, never the wind.
    EXPECT_FALSE(figuresOf("24012KT 071430Z").windShown);
}

TEST(MetarDecode, WindChillNeedsFiveKilometresPerHourAndATemperature) {
    MetarFigures f = figuresOf("XXXX 071430Z 09004KT 00/M03");  // 7.4 km/h
    EXPECT_TRUE(f.feelsLikeShown);
    EXPECT_NEAR(f.feelsLike, 13.12 + (-11.37) * std::pow(7.408, 0.16), 1e-9);
    f = figuresOf("XXXX 071430Z 00000KT 00/M03");
    EXPECT_EQ(f.windSpeed, 0.0);
    EXPECT_EQ(f.windDirection, 0);
    EXPECT_FALSE(f.feelsLikeShown);
    EXPECT_EQ(f.feelsLike, kNoFeelsLike);
    f = figuresOf("XXXX 071430Z 09020KT Q1013");
    EXPECT_FALSE(f.feelsLikeShown);
}

TEST(MetarDecode, TemperatureAndDewPointSigns) {
    struct Case {
        const char* group;
        double temp;
        std::optional<double> dew;
    };
    const Case cases[] = {
        {"12/08", 12, 8},
        {"M02/M05", -2, -5},
        {"05/M01", 5, -1},
        {"12/M00", 12, 0},
        {"M5/M3", -5, -3},
        {"12/XX", 12, {}},
        {"R88/60D", kMetarNoTemperature, {}},
    };
    for (const Case& c : cases) {
        const MetarFigures f = figuresOf(std::string("XXXX 071430Z 24012KT ") + c.group + " 20/10");
        EXPECT_EQ(f.tempExt, c.temp) << c.group;
        EXPECT_EQ(f.dewPoint, c.dew) << c.group;
    }
    // Groups of the wrong shape are passed over: visibility, runway ranges, missing values.
    MetarFigures f = figuresOf("XXXX 071430Z 1/2SM M1/4SM R08/2000 ////SM 12/// 18/11");
    EXPECT_EQ(f.tempExt, 18.0);
    EXPECT_EQ(f.dewPoint, 11.0);
    // -70 is shown but derives nothing; below it the temperature is missing.
    f = figuresOf("XXXX 071430Z 24012KT M70/M75");
    EXPECT_TRUE(f.tempShown);
    EXPECT_FALSE(f.feelsLikeShown);
    EXPECT_FALSE(f.humidityShown);
    f = figuresOf("XXXX 071430Z 24012KT M71/M75");
    EXPECT_FALSE(f.tempShown);
    EXPECT_EQ(f.tempExt, kMetarNoTemperature);
}

TEST(MetarDecode, AReportWithoutTemperature) {
    const MetarGroups g = decode("XXXX 071430Z 24012KT 9999 Q1013");
    const MetarFigures f = metarFigures(g, 0, false);
    EXPECT_EQ(f.tempExt, kMetarNoTemperature);
    EXPECT_EQ(f.feelsLike, kNoFeelsLike);
    EXPECT_EQ(f.humidityExt, kMetarNoHumidity);
    EXPECT_FALSE(f.dewPoint);
    EXPECT_EQ(metarBeaconLine(g, f), " = QNH 1013hPa = WS 22kmh ");
}

TEST(MetarDecode, PressureInHectopascalsAndInches) {
    MetarFigures f = figuresOf("XXXX 071430Z A2992");
    EXPECT_NEAR(f.pressure, 1013.208, 1e-3);
    f = figuresOf("XXXX 071430Z A2992", -3.0);
    EXPECT_NEAR(f.pressure, 1010.208, 1e-3);
    EXPECT_NEAR(f.qnh, 1013.208, 1e-3);
    // A group that does not convert is passed over; the first that does wins.
    f = figuresOf("XXXX 071430Z A//// Q0998 A2992");
    EXPECT_EQ(f.pressure, 998.0);
    f = figuresOf("XXXX 071430Z A//// AUTO QFE761/1015");
    EXPECT_FALSE(f.pressureShown);
    EXPECT_EQ(f.pressure, kMetarNoPressure);
    f = figuresOf("XXXX 071430Z Q-999");
    EXPECT_FALSE(f.pressureShown);
}

TEST(MetarDecode, PresentWeatherBits) {
    const std::map<std::string, std::uint32_t> cases = {
        {"RA", kMetarRain},
        {"-SHRA", kMetarLight | kMetarRain},
        {"+SN", kMetarHeavy | kMetarSnow},
        {"BR", kMetarMist},
        {"BCFG", kMetarFog},
        {"-DZ", kMetarLight},
        {"GR", kMetarHail},
        {"+TSRA", kMetarHeavy | kMetarRain},
        {"-DZSN", kMetarLight | kMetarSnow},
        {"SHRA", kMetarRain},
        {"DZ", 0},
        {"VCSH", 0},
        {"TSRA", kMetarRain},
        {"NOSIG", 0},
        {"FZFG", kMetarFog},
    };
    for (const auto& [token, bits] : cases) {
        EXPECT_EQ(figuresOf("XXXX 071430Z 24012KT " + token + " Q1013").presentWeather, bits) << token;
    }
    // The first token that sets a bit ends the scan, even an intensity alone.
    EXPECT_EQ(figuresOf("XXXX 071430Z -DZ RA").presentWeather, kMetarLight);
    EXPECT_EQ(figuresOf("XXXX 071430Z DZ BR").presentWeather, kMetarMist);
}

TEST(MetarDecode, PrecipitationCaptionKeepsItsStateForAnIntensityAlone) {
    EXPECT_EQ(metarPrecipitationCaption(kMetarLight | kMetarRain), "Précipitations = Pluie faible");
    EXPECT_EQ(metarPrecipitationCaption(kMetarHeavy | kMetarSnow), "Précipitations = Neige forte");
    EXPECT_EQ(metarPrecipitationCaption(kMetarSnow), "Précipitations = Neige modérée");
    EXPECT_EQ(metarPrecipitationCaption(kMetarFog), "Précipitations = Brouillard");
    EXPECT_EQ(metarPrecipitationCaption(kMetarHeavy | kMetarHail), "Précipitations = Grêle");
    const MetarGroups g = decode("XXXX 071430Z 24012KT -DZ 12/08 Q1013");
    for (bool before : {false, true}) {
        const MetarFigures f = metarFigures(g, 0, before);
        EXPECT_FALSE(f.precipitationCaption);
        EXPECT_EQ(f.precipitationShown, before);
        EXPECT_NE(metarUiViewLine(g, f).find(before ? "r005" : "r000"), std::string::npos);
    }
}

TEST(MetarDecode, HumidityIsCappedAt99) {
    EXPECT_EQ(figuresOf("XXXX 071430Z 10/10").humidityExt, 99);
    EXPECT_EQ(figuresOf("XXXX 071430Z 10/11").humidityExt, 99);  // supersaturated in a bad report
    EXPECT_EQ(figuresOf("XXXX 071430Z 12/9999").humidityExt, 99);
    EXPECT_EQ(figuresOf("XXXX 071430Z 12/-244").humidityExt, 99);  // the exponential overflows
    EXPECT_EQ(figuresOf("XXXX 071430Z 30/M20").humidityExt, 3);
    const MetarFigures dry = figuresOf("XXXX 071430Z 40/-243");
    EXPECT_EQ(dry.humidityExt, 0);
    EXPECT_TRUE(dry.humidityShown);
}

TEST(MetarDecode, TokensAreCutAtSingleSpacesUpToFifty) {
    // Two spaces make an empty token; the report stays readable.
    EXPECT_EQ(figuresOf("XXXX  071430Z  24012KT  12/08  Q1013").tempExt, 12.0);
    std::string report = "XXXX 071430Z";
    for (int i = 2; i < 49; ++i) report += " X";
    EXPECT_EQ(figuresOf(report + " 12/08").tempExt, 12.0);   // token 49, the 50th
    EXPECT_FALSE(figuresOf(report + " X 12/08").tempShown);  // token 50 is cut off
    EXPECT_EQ(figuresOf(report + " 12/08 Q1013").pressure, kMetarNoPressure);
    EXPECT_EQ(decode("").station, "");
}

TEST(MetarDecode, TheReportTypeAndEndMarkAreNotGroups) {
    const MetarGroups g = decode("METAR COR LEIB 092100Z 30008KT 26/21 Q1018=");
    EXPECT_EQ(g.station, "LEIB");
    EXPECT_EQ(g.rawPressure, 1018);
    EXPECT_EQ(decode("SPECI CYBB 171940Z 22016KT SN OVC007 00/M01 A2977=").station, "CYBB");
    EXPECT_EQ(decode("METARX 171940Z").station, "METARX");
}

// ---- exports ----

TEST(MetarExport, ReferenceReportFilesByteForByte) {
    const MetarGroups g = decode(kLfpg);
    const MetarFigures f = metarFigures(g, 5.0, false);  // the offset never reaches the exports
    EXPECT_EQ(metarUiViewLine(g, f), "240/014g...t054r000p...P...h77b10130");
    EXPECT_EQ(metarBeaconLine(g, f), " TEMP 12C = QNH 1013hPa = WS 22kmh = WCT 10C = HUM 77 ");
    EXPECT_EQ(metarUiViewFile(g.time->timeStampLine, metarUiViewLine(g, f)),
              "Mar 07 2024 14:30\r\n240/014g...t054r000p...P...h77b10130\r\n");
    EXPECT_EQ(metarBeaconFile(metarBeaconLine(g, f)), " TEMP 12C = QNH 1013hPa = WS 22kmh = WCT 10C = HUM 77 \r\n");
}

TEST(MetarExport, UiViewFields) {
    const auto line = [](const std::string& report) { return exportLine(report, metarUiViewLine); };
    EXPECT_EQ(line("X 071430Z 04515G30KT -SHRA M05/M08 A2946"), "045/017g035t023r005p...P...h79b09980");
    EXPECT_EQ(line("X 071430Z VRB02KT +RA M12/M14 Q1013"), ".../002g...t010r060p...P...h85b10130");
    EXPECT_EQ(line("X 071430Z 00000KT BR M21/M23 Q1013"), "000/000g...t-06r020p...P...h84b10130");
    EXPECT_EQ(line("X 071430Z 00000KT BR M30/M31 Q1013"), "000/000g...t-22r020p...P...h91b10130");
    EXPECT_EQ(line("X 071430Z"), ".../...g...t...r000p...P...h..b.....");
    EXPECT_EQ(line("X 071430Z 40/-243"), ".../...g...t104r000p...P...h01b.....");
    EXPECT_EQ(line("X 071430Z Q0012"), ".../...g...t...r000p...P...h..b00120");
}

TEST(MetarExport, BeaconLineParts) {
    const auto line = [](const std::string& report) { return exportLine(report, metarBeaconLine); };
    EXPECT_EQ(line("X 071430Z 27015G25KT M05/M08 A2992"), " TEMP -5C = QNH 1013hPa = WS 28kmh = WCT -13C = HUM 79 ");
    EXPECT_EQ(line("X 071430Z 00000KT 12/08"), " TEMP 12C = WS 0kmh = HUM 77 ");
    EXPECT_EQ(line("X 071430Z /////KT"), " ");
}

// ---- real reports ----

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::vector<std::string> fields(const std::string& line, char separator) {
    std::vector<std::string> out;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, separator)) out.push_back(field);
    if (!line.empty() && line.back() == separator) out.push_back("");
    return out;
}

TEST(MetarRealData, EveryReportDecodesWithPlausibleFigures) {
    const std::string text = slurp(TINTAL_TEST_DATA_DIR "/metar/real_reports.txt");
    ASSERT_FALSE(text.empty());
    int reports = 0, withTemperature = 0, withPressure = 0, withWind = 0, withWeather = 0;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        const std::vector<std::string> f = fields(line, '|');
        ASSERT_EQ(f.size(), 4u) << line;
        ++reports;
        const std::string& icao = f[0];
        const std::string& report = f[3];
        // Decode on the day the file gives, late in the evening UTC.
        double today = now(2018, 9, 30, 23, 0);
        if (f[1].size() == 10 && f[1][4] == '-') {
            today =
                now(std::stoi(f[1].substr(0, 4)), std::stoi(f[1].substr(5, 2)), std::stoi(f[1].substr(8, 2)), 23, 0);
        }
        const MetarGroups g = decodeMetarReport(report, today, 0);
        const MetarFigures r = metarFigures(g, 0, false);
        EXPECT_EQ(g.station, icao) << report;
        if (report.find(" NIL") == std::string::npos) {
            ASSERT_TRUE(g.time) << report;
            EXPECT_EQ(decodeDateTime(g.time->utc).day, std::stoi(report.substr(report.find(icao) + 5, 2))) << report;
            EXPECT_EQ(g.time->timeStampLine.size(), 17u);
        }
        if (r.tempShown) {
            ++withTemperature;
            EXPECT_TRUE(kTemperatureLimits.contains(r.tempExt)) << report;
            ASSERT_TRUE(r.dewPoint) << report;
            EXPECT_LE(*r.dewPoint, r.tempExt) << report;
            EXPECT_GE(r.humidityExt, 10) << report;
            EXPECT_LE(r.humidityExt, 99) << report;
        }
        if (r.pressureShown) {
            ++withPressure;
            EXPECT_TRUE(kPressureLimits.contains(r.pressure)) << report;
        }
        if (r.windShown) {
            ++withWind;
            EXPECT_TRUE(kWindLimits.contains(r.windSpeed)) << report;
            EXPECT_TRUE(r.gustSpeed == 0 || r.gustSpeed > r.windSpeed) << report;
            EXPECT_TRUE((r.windDirection >= 0 && r.windDirection <= 360) || r.windDirection == kVariableDirection)
                << report;
        }
        if (r.feelsLikeShown) {
            EXPECT_TRUE(kFeelsLikeLimits.contains(r.feelsLike)) << report;
        }
        if (r.presentWeather) ++withWeather;
        const std::string ui = metarUiViewLine(g, r);
        EXPECT_EQ(ui.size(), 36u) << ui;
        EXPECT_EQ(metarBeaconLine(g, r).back(), ' ');
    }
    EXPECT_EQ(reports, 59);  // 57 collected ones, a textbook example and a km/h report
    // The NIL report, the "////" one and the wind-only one lack groups; TIST has no pressure either.
    EXPECT_EQ(withTemperature, 56);
    EXPECT_EQ(withPressure, 55);
    EXPECT_EQ(withWind, 58);
    EXPECT_GE(withWeather, 25);
}

TEST(MetarRealData, SelectedRealReportsFigureByFigure) {
    const double day = now(2018, 9, 9, 23, 0);
    MetarGroups g = decodeMetarReport(
        "METAR KPIT 092051Z 08015G22KT 3SM RA BR BKN008 OVC023 16/13 A2995 RMK AO2 SLP149 P0018 60072 T01560133 56005 "
        "$=",
        day, 0);
    MetarFigures f = metarFigures(g, 0, false);
    EXPECT_EQ(f.windDirection, 80);
    EXPECT_NEAR(f.gustSpeed, 22 * 1.852, 1e-9);
    EXPECT_NEAR(f.pressure, 1014.22, 0.01);
    EXPECT_EQ(f.presentWeather, kMetarRain);
    EXPECT_EQ(f.humidityExt, 82);
    EXPECT_EQ(metarUiViewLine(g, f), "080/017g025t061r020p...P...h82b10140");

    g = decodeMetarReport("MBPV 082000Z 13005KT 9999 SCT016 30/23 Q1011=", day, 0);
    EXPECT_EQ(g.rawPressure, 1011);
    g = decodeMetarReport("METAR CYRB 030346Z 15011KT 3/8SM R35/3500VP6000FT/D -DZSN FG OVC002 00/M00 A2939", day, 0);
    EXPECT_EQ(g.presentWeather, kMetarLight | kMetarSnow);
    EXPECT_EQ(g.temperature, 0);
    EXPECT_EQ(g.dewPoint, 0);
    g = decodeMetarReport(
        "METAR UKLI 101730Z 28003MPS 230V310 9999 FEW025CB BKN046 15/13 Q1020 R28/190068 TEMPO "
        "VRB10G15MPS 0500 +TSRAGR BKN010CB=",
        day, 0);
    EXPECT_NEAR(metarFigures(g, 0, false).windSpeed, 10.8, 1e-9);
    EXPECT_FALSE(g.gust);
}

TEST(MetarRealData, MatchesTheIndependentDecoding) {
    const std::string text = slurp(TINTAL_TEST_DATA_DIR "/metar/awc_decoded.tsv");
    ASSERT_FALSE(text.empty());
    // The reference names drizzle and showers in the vicinity too; those set no bit here.
    const std::map<std::string, std::uint32_t> weather = {
        {"", 0},   {"RA", kMetarRain}, {"-RA", kMetarLight | kMetarRain}, {"-SHRA", kMetarLight | kMetarRain},
        {"DZ", 0}, {"VCSH", 0},
    };
    std::istringstream in(text);
    std::string line;
    int rows = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        const std::vector<std::string> f = fields(line, '\t');
        ASSERT_EQ(f.size(), 9u) << line;
        ++rows;
        const MetarGroups g = decodeMetarReport(f[0], now(2018, 1, 9, 23, 0), 0);
        const MetarFigures r = metarFigures(g, 0, false);
        EXPECT_EQ(r.tempExt, std::stod(f[1])) << f[0];
        EXPECT_EQ(r.dewPoint, std::stod(f[2])) << f[0];
        EXPECT_EQ(r.windDirection, std::stoi(f[3])) << f[0];
        EXPECT_EQ(g.speed, std::stoi(f[4])) << f[0];
        EXPECT_NEAR(r.windSpeed, std::stoi(f[4]) * 1.852, 1e-9) << f[0];
        if (f[5].empty()) {
            EXPECT_FALSE(r.gustShown) << f[0];
        } else {
            EXPECT_EQ(g.gust, std::stoi(f[5])) << f[0];
        }
        EXPECT_NEAR(r.pressure / 33.8639, std::stod(f[6]), 0.005) << f[0];
        ASSERT_TRUE(weather.count(f[7])) << f[7];
        EXPECT_EQ(r.presentWeather, weather.at(f[7])) << f[0];
        EXPECT_EQ(decodeDateTime(g.time->utc).day, 9);
    }
    EXPECT_EQ(rows, 25);
}

}  // namespace
}  // namespace tintal
