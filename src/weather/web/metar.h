#pragma once
// The text side of the METAR source: cutting the report line out of a fetched page, decoding the groups
// of one report, turning them into the figures of the reading, and the two export texts for other radio
// programs (a UI-View weather file and a one-line text for a Morse beacon). Everything here is pure: the
// window model passes the bytes it read, the clock and the time-zone bias, and writes the files itself.
//
// Byte texts (documents, reports, export files) are Windows-1252; the other strings are UTF-8.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "weather/weather_reading.h"

namespace tintal {

// Words of the two providers' host names that select how the station code is read from the address:
// the first with "icao=", the second with "ids=" (the second wins when both match).
inline constexpr std::string_view kMetarIcaoProviderMarker = "allmetsat";
inline constexpr std::string_view kMetarIdsProviderMarker = "aviationweather";

inline constexpr std::size_t kMetarMaxTokens = 50;

// Figures stored when a group is missing.
inline constexpr double kMetarNoTemperature = -70.0;
inline constexpr double kMetarNoPressure = 100.0;
inline constexpr double kMetarNoWind = -1.0;
inline constexpr double kMetarNoGust = 0.0;
inline constexpr int kMetarNoHumidity = -1;  // the signed byte 255 as it reads back

// presentWeather bits.
inline constexpr std::uint32_t kMetarLight = 0x01;
inline constexpr std::uint32_t kMetarHeavy = 0x02;
inline constexpr std::uint32_t kMetarRain = 0x04;
inline constexpr std::uint32_t kMetarSnow = 0x08;
inline constexpr std::uint32_t kMetarHail = 0x10;
inline constexpr std::uint32_t kMetarMist = 0x20;
inline constexpr std::uint32_t kMetarFog = 0x40;

// Outcome of the page extractor; the values are the FetchError codes the window shows.
enum class MetarPageError { None = 0, Empty = 5, NoReport = 6 };

struct MetarPageLine {
    MetarPageError error = MetarPageError::None;
    std::string line;  // the report line to store in place of the page (bytes of the page), when error is None
};

// Cuts the report of the station named in the address out of a fetched page (markup removed, spaces
// trimmed). `address` is the address the user typed (UTF-8, label behind " //" allowed).
MetarPageLine extractMetarLine(std::string_view page, std::string_view address);

// The report of a stored file: its last non-empty line (lines end in CR LF, LF or CR). Empty when the
// file has no non-empty line, in which case nothing is decoded or exported.
std::optional<std::string> metarReportLine(std::string_view file);

struct MetarObservationTime {
    double utc = 0;             // days since 1899-12-30, UTC
    double observedAt = 0;      // the same moment in local time
    std::string timeStampLine;  // "Mar 07 2024 14:30" of the local time: first line of the UI-View file
};

// The groups of one report in the report's own units; a group that is absent or does not convert is empty.
struct MetarGroups {
    std::string station;  // token 0 (UTF-8)
    std::optional<MetarObservationTime> time;
    bool timeGroupRejected = false;            // a ddhhmmZ token was seen but none converted: the date field is emptied
    std::optional<int> direction;              // degrees as written; kVariableDirection for VRB
    std::optional<int> speed, gust;            // in the report's wind unit
    double speedFactor = 0;                    // km/h per wind unit; 0 when no wind group
    std::optional<int> temperature, dewPoint;  // whole degrees C
    std::optional<int> rawPressure;            // Q: hPa, A: hundredths of inch of mercury
    double pressureFactor = 0;                 // hPa per raw unit; 0 when no usable pressure group
    std::uint32_t presentWeather = 0;
};

// Decodes one report line (Windows-1252 bytes). `nowLocal` is the current local date-time and
// `biasMinutes` the time-zone bias, daylight part included (UTC = local + bias); together they give
// the month and year the report's day belongs to.
MetarGroups decodeMetarReport(std::string_view report, double nowLocal, int biasMinutes);

// The figures of the reading and which captions show a value (a caption that is not shown reads "--").
struct MetarFigures {
    double tempExt = kMetarNoTemperature;
    double feelsLike = kNoFeelsLike;
    std::optional<double> dewPoint;      // empty: the dew point keeps its old value, the label reads "--"
    double pressure = kMetarNoPressure;  // offset included
    double qnh = 0;                      // hPa without the offset, for the exports (valid when pressureShown)
    double windSpeed = kMetarNoWind;     // km/h
    double gustSpeed = kMetarNoGust;     // km/h
    int windDirection = kNoDirection;    // degrees, kVariableDirection, or kNoDirection
    int humidityExt = kMetarNoHumidity;  // %, at most 99
    std::uint32_t presentWeather = 0;

    bool tempShown = false, pressureShown = false, windShown = false, gustShown = false;
    bool feelsLikeShown = false, humidityShown = false;
    bool precipitationShown = false;
    // New text of the precipitation tick box ("Précipitations = Pluie faible", "Précipitations = --", ...);
    // empty when the report only gave an intensity, which leaves the caption as it was.
    std::optional<std::string> precipitationCaption;
};

// `pressureOffset` is the user's correction in hPa; `precipitationShownBefore` tells whether the
// precipitation caption showed a value before this decode (it is kept when only an intensity is given).
MetarFigures metarFigures(const MetarGroups& groups, double pressureOffset, bool precipitationShownBefore);

// Caption text of the precipitation tick box for a present-weather bit set, or empty when the bits hold
// an intensity only (the caption stays as it was).
std::optional<std::string> metarPrecipitationCaption(std::uint32_t presentWeather);

// The UI-View weather line, e.g. "240/014g...t054r000p...P...h77b10130".
std::string metarUiViewLine(const MetarGroups& groups, const MetarFigures& figures);
// The beacon line, e.g. " TEMP 12C = QNH 1013hPa = WS 22kmh = WCT 10C = HUM 77 ".
std::string metarBeaconLine(const MetarGroups& groups, const MetarFigures& figures);

// Exact bytes of "metar_uiview.txt" (the time-stamp line, then the weather line) and of "metar_cw.txt":
// Windows-1252, each line ended by CR LF. The window keeps the last time-stamp line when a report has none.
std::string metarUiViewFile(std::string_view timeStampLine, std::string_view uiViewLine);
std::string metarBeaconFile(std::string_view beaconLine);

}  // namespace tintal
