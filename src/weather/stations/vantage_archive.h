#pragma once
// Decoder of the monthly archive files (.wlk) that the Vantage Pro2 station software writes, plus the
// file-name rules of those archives. Pure functions: the caller opens the file, reads it whole, and
// owns the window, the captions and the derived figures (trend class, wind chill, dew point).
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tintal {

inline constexpr std::size_t kWlkHeaderSize = 212;
inline constexpr std::size_t kWlkRecordSize = 88;

// Year and month of an archive as its file name states them ("2024-03.wlk"). Not range-checked:
// a month of 13 only fails when the observation date is built.
struct WlkMonth {
    int year = 0;
    int month = 0;
    bool operator==(const WlkMonth&) const = default;
};

// The file name part of a path: what follows the last '\', '/' or ':'.
std::string_view wlkFileNamePart(std::string_view path);

// True when the path's extension is exactly ".wlk" (lower case).
bool hasWlkExtension(std::string_view path);

// Year = the first four characters of the file name, month = the text between its first '-' and its
// first '.'; nullopt when either is not a whole number.
std::optional<WlkMonth> parseWlkFileName(std::string_view path);

// "2024-04.wlk": the year in four digits, the month in two.
std::string wlkFileName(WlkMonth month);

// The month follow-up: the path of the archive of (nowYear, nowMonth) in the folder of `locator`,
// or nullopt when `named` (the month of `locator`) already is that month. The caller switches to the
// path only if that file exists, and then uses WlkMonth{nowYear, nowMonth} for the date.
std::optional<std::string> wlkFollowUpPath(std::string_view locator, WlkMonth named, int nowYear, int nowMonth);

enum class WlkError {
    None,
    ShortHeader,       // fewer than 212 bytes
    BadRecordCount,    // a negative record count
    TruncatedRecords,  // the header announces more records than the file holds
    NoDataRecord,      // no archive data record (type 1), including a record count of 0
    BadDate,           // day index, file-name month or end-of-period time give no valid date-time
};

// How the hour-earlier pressure was looked for.
enum class WlkTrendBasis {
    Compared,         // pressureChange holds the difference; classify it and write the caption
    NoLookBack,       // archive interval 0 or under an hour of records: Steady, caption "stationnaire"
    NoEarlierRecord,  // no data record at or before the look-back point: Steady, caption unchanged
};

// Figures of the latest archive data record, named after the WeatherReading fields they feed.
// Out-of-limit values (no-data markers included) are given as decoded; the caller colours them.
struct VantageArchiveReading {
    double observedAt = 0;            // date-time, local, seconds 0
    double tempExt = 0, tempInt = 0;  // °C
    double pressure = 0;              // hPa, pressureOffset included
    WlkTrendBasis trendBasis = WlkTrendBasis::NoLookBack;
    double pressureChange = 0;                // hPa over about an hour, without offset; valid when Compared
    double windSpeed = 0, gustSpeed = 0;      // km/h
    int windDirection = 0;                    // degrees, or kNoDirection
    double humidityInt = 0, humidityExt = 0;  // %, tenths kept; the captions show no decimals
    double rain24h = 0;                       // mm, or kNoRain for an unknown rain collector

    // Where the figures came from, for the source state and diagnostics.
    std::int32_t recordCount = 0;  // records announced by the header
    int day = 0;                   // day of the month taken from the day index
    std::size_t latestIndex = 0;   // index of the latest data record
    int archiveInterval = 0;       // minutes, from the latest data record
    int rainClicks = 0;            // clicks summed for rain24h
    int rainRecords = 0;           // data records summed for rain24h
};

struct VantageArchiveResult {
    WlkError error = WlkError::None;
    std::optional<VantageArchiveReading> reading;  // set exactly when error is None
};

// Decodes a whole .wlk file. `month` comes from the file name (parseWlkFileName or the follow-up);
// `pressureOffset` is the window's pressure offset in hPa, added to `pressure` only.
VantageArchiveResult decodeVantageArchive(std::span<const std::uint8_t> file, WlkMonth month, double pressureOffset);

}  // namespace tintal
