#include "weather/stations/ws2300_history.h"

#include <bit>

#include "base/numbers.h"
#include "weather/stations/little_endian.h"
#include "weather/stations/record_look_back.h"

namespace tintal {
namespace {

constexpr std::uint32_t kEpochShiftSeconds = 176400;  // 1899-12-30 to 1900-01-01 01:00
constexpr double kMetresPerSecondToKmh = 3.6;
constexpr double kDegreesPerSector = 22.5;
constexpr std::uint32_t kSectorMask = 31;
constexpr std::size_t kGustRecords = 10;  // the latest and the nine before it

struct Record {
    std::uint32_t seconds = 0;
    float pressure = 0, wind = 0;
    std::uint32_t direction = 0;
    float rain = 0, tempInt = 0, tempExt = 0;
    std::int8_t humidityInt = 0, humidityExt = 0;
};

// The caller guarantees index < recordCount, so the whole record lies inside the file.
Record recordAt(std::span<const std::uint8_t> file, std::size_t index) {
    const std::uint8_t* p = file.data() + index * kWs2300RecordSize;
    Record r;
    r.seconds = le32(p + 4);
    r.pressure = leFloat(p + 8);
    r.wind = leFloat(p + 12);
    r.direction = le32(p + 16);
    r.rain = leFloat(p + 20);
    r.tempInt = leFloat(p + 24);
    r.tempExt = leFloat(p + 28);
    r.humidityInt = std::bit_cast<std::int8_t>(p[32]);
    r.humidityExt = std::bit_cast<std::int8_t>(p[34]);
    return r;
}

std::uint32_t shiftedSeconds(std::uint32_t seconds) { return seconds + kEpochShiftSeconds; }  // wraps mod 2^32

bool isValidWind(float stored, double kmh) { return stored != kWs2300NoWind && kWindLimits.contains(kmh); }

}  // namespace

double ws2300ObservationTime(std::uint32_t seconds) { return double(shiftedSeconds(seconds)) / 3600 / 24; }

std::optional<Ws2300Figures> decodeWs2300History(std::span<const std::uint8_t> file, double pressureOffset) {
    const std::size_t count = file.size() / kWs2300RecordSize;
    if (count == 0) return std::nullopt;
    const std::size_t latest = count - 1;
    const Record last = recordAt(file, latest);

    Ws2300Figures f;
    f.recordCount = count;
    f.observedAt = ws2300ObservationTime(last.seconds);
    if (latest > 1) {
        // From the whole-second difference rather than from two rounded date-times: the rounding noise
        // of dates near 40000 days would otherwise move the look-backs one record too far about one time
        // in five (seven records back instead of six at 10-minute intervals).
        const double seconds =
            double(shiftedSeconds(last.seconds)) - double(shiftedSeconds(recordAt(file, latest - 1).seconds));
        f.recordInterval = seconds / 3600 / 24;
    }

    f.tempInt = last.tempInt;
    f.tempExt = last.tempExt;
    f.tempExtMissing = last.tempExt == kWs2300NoTempExt;
    f.pressure = double(last.pressure) + pressureOffset;
    if (f.recordInterval > 0) {
        const std::size_t k = recordBefore(latest, 1.0 / 24, f.recordInterval).value_or(1);
        f.pressureChange = f.pressure - double(recordAt(file, k).pressure) - pressureOffset;
    }

    f.windSpeed = double(last.wind) * kMetresPerSecondToKmh;
    f.windValid = isValidWind(last.wind, f.windSpeed);
    f.windMissing = last.wind == kWs2300NoWind;
    f.gustSpeed = f.windValid ? f.windSpeed : 0.0;
    for (std::size_t back = 1; back < kGustRecords && back < latest; ++back) {
        const float stored = recordAt(file, latest - back).wind;
        const double u = double(stored) * kMetresPerSecondToKmh;
        if (isValidWind(stored, u) && u > f.gustSpeed) f.gustSpeed = u;
    }

    f.windDirection = int(roundHalfEven(double(last.direction & kSectorMask) * kDegreesPerSector));
    f.humidityInt = last.humidityInt;
    f.humidityExt = last.humidityExt;
    f.humidityExtMissing = last.humidityExt == kWs2300NoHumidity;

    f.rainTotal = last.rain;
    if (f.recordInterval > 0) {
        if (const auto k = recordBefore(latest, 1.0, f.recordInterval)) {
            const double rain = f.rainTotal - double(recordAt(file, *k).rain);
            if (rain >= 0) f.rain24h = rain;  // a counter that went down (or NaN) leaves it unknown
        }
    }
    return f;
}

}  // namespace tintal
