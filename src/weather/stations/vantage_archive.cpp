#include "weather/stations/vantage_archive.h"

#include <cstdio>

#include "base/date_time.h"
#include "base/numbers.h"
#include "weather/stations/little_endian.h"
#include "weather/weather_reading.h"

namespace tintal {

namespace {

constexpr std::uint8_t kDataRecordType = 1;
constexpr std::size_t kRecordCountOffset = 16;
constexpr std::size_t kDayIndexOffset = 20;
constexpr std::size_t kDayIndexEntrySize = 6;
constexpr int kLastDay = 31;

// Record fields.
constexpr std::size_t kType = 0;
constexpr std::size_t kInterval = 1;
constexpr std::size_t kEndMinutes = 4;
constexpr std::size_t kTempOut = 6;
constexpr std::size_t kTempIn = 12;
constexpr std::size_t kBarometer = 14;
constexpr std::size_t kHumidityOut = 16;
constexpr std::size_t kHumidityIn = 18;
constexpr std::size_t kRainClicks = 20;
constexpr std::size_t kRainCollector = 21;
constexpr std::size_t kWindSpeed = 24;
constexpr std::size_t kGustSpeed = 26;
constexpr std::size_t kWindDirection = 28;

constexpr double kHpaPerInHg = 33.8582;
constexpr double kKmhPerMph = 1.609344;

double fahrenheitTenthsToCelsius(std::uint16_t raw) { return (raw - 320.0) * 5.0 / 90.0; }
double inHgThousandthsToHpa(double raw) { return raw / 1000.0 * kHpaPerInHg; }
double mphTenthsToKmh(std::uint16_t raw) { return raw / 10.0 * kKmhPerMph; }

std::optional<double> millimetresPerClick(std::uint8_t collector) {
    switch (collector) {
        case 0x00: return 2.54;
        case 0x10: return 0.254;
        case 0x20: return 0.2;
        case 0x30: return 1.0;
        case 0x60: return 0.1;
        default: return std::nullopt;
    }
}

// The latest records belong to the last day of the month that has records. Taking the day before the
// first empty entry instead would date a month with a missing day (station down on the 1st, or for a
// day mid-month) wrongly or not at all.
int dayFromIndex(const std::uint8_t* header) {
    for (int d = kLastDay; d >= 1; --d) {
        if (le16(header + kDayIndexOffset + d * kDayIndexEntrySize) != 0) return d;
    }
    return 0;
}

// End of the archive period on the given day; 1440 minutes is midnight of the next day.
std::optional<double> observationTime(WlkMonth month, int day, int endMinutes) {
    if (month.year < 1 || month.year > 9999 || month.month < 1 || month.month > 12) return std::nullopt;
    if (day < 1 || day > daysInMonth(month.year, month.month)) return std::nullopt;
    const int hour = endMinutes / 60;
    const int minute = endMinutes - 60 * hour;
    if (hour > 24) return std::nullopt;
    if (hour == 24) return encodeDateTime(month.year, month.month, day, 23, minute) + 1.0 / 24.0;
    return encodeDateTime(month.year, month.month, day, hour, minute);
}

}  // namespace

std::string_view wlkFileNamePart(std::string_view path) {
    const std::size_t cut = path.find_last_of("\\/:");
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

bool hasWlkExtension(std::string_view path) {
    const std::string_view name = wlkFileNamePart(path);
    const std::size_t dot = name.rfind('.');
    return dot != std::string_view::npos && name.substr(dot) == ".wlk";
}

std::optional<WlkMonth> parseWlkFileName(std::string_view path) {
    const std::string_view name = wlkFileNamePart(path);
    const std::size_t dash = name.find('-');
    const std::size_t dot = name.find('.');
    if (dash == std::string_view::npos || dot == std::string_view::npos || dot < dash) return std::nullopt;
    const std::optional<int> year = strictToInt(name.substr(0, 4));
    const std::optional<int> month = strictToInt(name.substr(dash + 1, dot - dash - 1));
    if (!year || !month) return std::nullopt;
    return WlkMonth{*year, *month};
}

std::string wlkFileName(WlkMonth month) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d.wlk", month.year, month.month);
    return buffer;
}

std::optional<std::string> wlkFollowUpPath(std::string_view locator, WlkMonth named, int nowYear, int nowMonth) {
    const WlkMonth now{nowYear, nowMonth};
    if (named == now) return std::nullopt;
    // Keep the locator's own folder and separator; a bare name stays in the current folder.
    const std::string_view folder = locator.substr(0, locator.size() - wlkFileNamePart(locator).size());
    return std::string(folder) + wlkFileName(now);
}

VantageArchiveResult decodeVantageArchive(std::span<const std::uint8_t> file, WlkMonth month, double pressureOffset) {
    VantageArchiveResult result;
    const auto fail = [&result](WlkError e) {
        result.error = e;
        return result;
    };
    if (file.size() < kWlkHeaderSize) return fail(WlkError::ShortHeader);
    const std::uint8_t* header = file.data();
    const auto recordCount = static_cast<std::int32_t>(le32(header + kRecordCountOffset));
    if (recordCount < 0) return fail(WlkError::BadRecordCount);
    const std::size_t count = static_cast<std::size_t>(recordCount);
    if ((file.size() - kWlkHeaderSize) / kWlkRecordSize < count) return fail(WlkError::TruncatedRecords);

    const auto record = [&file](std::size_t i) { return file.data() + kWlkHeaderSize + i * kWlkRecordSize; };
    const auto isData = [&record](std::size_t i) { return record(i)[kType] == kDataRecordType; };

    const int day = dayFromIndex(header);

    std::size_t latest = count;
    while (latest > 0 && !isData(latest - 1)) --latest;
    if (latest == 0) return fail(WlkError::NoDataRecord);
    --latest;
    const std::uint8_t* rec = record(latest);

    const std::optional<double> observedAt = observationTime(month, day, le16(rec + kEndMinutes));
    if (!observedAt) return fail(WlkError::BadDate);

    VantageArchiveReading r;
    r.recordCount = recordCount;
    r.day = day;
    r.latestIndex = latest;
    r.archiveInterval = rec[kInterval];
    r.observedAt = *observedAt;
    r.tempExt = fahrenheitTenthsToCelsius(le16(rec + kTempOut));
    r.tempInt = fahrenheitTenthsToCelsius(le16(rec + kTempIn));
    const std::uint16_t barometer = le16(rec + kBarometer);
    r.pressure = inHgThousandthsToHpa(barometer) + pressureOffset;

    // One hour of records back; from there, the nearest earlier data record.
    const int interval = r.archiveInterval;
    r.trendBasis = WlkTrendBasis::NoLookBack;
    if (interval > 0) {
        const long long lookBack = static_cast<long long>(latest) - 60 / interval;
        if (lookBack > 0) {
            r.trendBasis = WlkTrendBasis::NoEarlierRecord;
            for (long long k = lookBack; k >= 0; --k) {
                if (isData(static_cast<std::size_t>(k))) {
                    const int earlier = le16(record(static_cast<std::size_t>(k)) + kBarometer);
                    r.pressureChange = inHgThousandthsToHpa(barometer - earlier);
                    r.trendBasis = WlkTrendBasis::Compared;
                    break;
                }
            }
        }
    }

    r.windSpeed = mphTenthsToKmh(le16(rec + kWindSpeed));
    r.gustSpeed = mphTenthsToKmh(le16(rec + kGustSpeed));
    const long long degrees = roundHalfEven(rec[kWindDirection] * 22.5);
    r.windDirection = degrees >= 360 ? kNoDirection : static_cast<int>(degrees);
    r.humidityInt = le16(rec + kHumidityIn) / 10.0;
    r.humidityExt = le16(rec + kHumidityOut) / 10.0;

    // A day's worth of records less one, the latest included, skipping the non-data records.
    r.rainClicks = rec[kRainClicks];
    r.rainRecords = 1;
    if (interval > 0) {
        const int further = 1440 / interval - 2;
        for (std::size_t j = latest; j > 0 && r.rainRecords - 1 < further; --j) {
            if (isData(j - 1)) {
                r.rainClicks += record(j - 1)[kRainClicks];
                ++r.rainRecords;
            }
        }
    }
    const std::optional<double> perClick = millimetresPerClick(rec[kRainCollector]);
    r.rain24h = perClick ? r.rainClicks * *perClick : kNoRain;

    result.reading = r;
    return result;
}

}  // namespace tintal
