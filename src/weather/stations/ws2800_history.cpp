#include "weather/stations/ws2800_history.h"

#include "base/date_time.h"
#include "base/numbers.h"
#include "weather/stations/little_endian.h"
#include "weather/stations/record_look_back.h"
#include "weather/weather_reading.h"

namespace tintal {

namespace {

constexpr double kKmhPerMs = 3.6;
constexpr double kDegreesPerSector = 22.5;
constexpr double kOneHour = 1.0 / 24.0;
constexpr double kOneDay = 1.0;
constexpr float kNoGust = 51.0f;  // m/s

bool isDateTime(double t) {
    // Years 1 to 9999; before the epoch the fraction counts forward from midnight, hence the open bounds.
    static const double first = encodeDateTime(1, 1, 1) - 1.0;
    static const double afterLast = encodeDateTime(9999, 12, 31) + 1.0;
    return t > first && t < afterLast;  // false for NaN
}

}  // namespace

std::size_t ws2800RecordCount(std::span<const std::uint8_t> file) { return file.size() / kWs2800RecordSize; }

Ws2800Record ws2800Record(std::span<const std::uint8_t> file, std::size_t index) {
    const std::uint8_t* p = file.subspan(index * kWs2800RecordSize, kWs2800RecordSize).data();
    Ws2800Record r;
    r.time = leDouble(p);
    r.absolutePressure = leFloat(p + 8);
    r.relativePressure = leFloat(p + 12);
    r.wind = leFloat(p + 16);
    r.direction = static_cast<std::int32_t>(le32(p + 20));
    r.gust = leFloat(p + 24);
    r.rain = leFloat(p + 32);
    r.tempInt = leFloat(p + 36);
    r.tempExt = leFloat(p + 40);
    r.humidityInt = leFloat(p + 44);
    r.humidityExt = leFloat(p + 48);
    return r;
}

std::optional<Ws2800Reading> decodeWs2800History(std::span<const std::uint8_t> file, Ws2800Pressure kind,
                                                 double pressureOffset) {
    const std::size_t count = ws2800RecordCount(file);
    if (count == 0) return std::nullopt;
    const std::size_t last = count - 1;
    const Ws2800Record latest = ws2800Record(file, last);
    if (!isDateTime(latest.time)) return std::nullopt;

    Ws2800Reading out;
    out.recordCount = count;
    out.observedAt = latest.time;
    out.recordInterval = last > 1 ? latest.time - ws2800Record(file, last - 1).time : 0.0;
    out.tempInt = latest.tempInt;
    out.tempExt = latest.tempExt;
    out.pressureOffset = pressureOffset;
    out.pressure = latest.pressure(kind) + pressureOffset;

    if (out.recordInterval > 0) {
        out.trendRecord = recordBefore(last, kOneHour, out.recordInterval).value_or(1);
        // Same order of operations as the window's rule: shown pressure minus the earlier one minus the offset.
        out.pressureChange = out.pressure - ws2800Record(file, out.trendRecord).pressure(kind) - pressureOffset;
    }

    out.windSpeed = latest.wind * kKmhPerMs;
    out.gustSpeed = latest.gust * kKmhPerMs;
    out.gustIsNoData = latest.gust == kNoGust;
    out.windDirection = static_cast<int>(roundHalfEven((latest.direction & 31) * kDegreesPerSector));
    out.humidityInt = latest.humidityInt;
    out.humidityExt = latest.humidityExt;

    // Walk back from the second-to-last record; record 0 never counts, and the first record a whole day
    // (or more) older than the latest ends the walk.
    double rain = latest.rain;
    for (std::size_t j = last; j-- > 1;) {
        const Ws2800Record r = ws2800Record(file, j);
        if (latest.time - r.time >= kOneDay) break;
        rain += r.rain;
    }
    out.rainSum = rain;
    out.rain24h = rain >= 0 ? rain : kNoRain;
    return out;
}

}  // namespace tintal
