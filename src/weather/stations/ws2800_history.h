#pragma once
// Decoder of the history file kept by the PC software of La Crosse WS-2800 / WS-3610 stations: a flat
// run of 56-byte little-endian records, oldest first, no header. A pure function of the file's bytes:
// the caller opens and reads the file, stores the figures in its WeatherReading and colours them.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace tintal {

inline constexpr std::size_t kWs2800RecordSize = 56;

// Which of the two stored pressures the window shows and compares (its "Absolue" / "Relative" buttons).
enum class Ws2800Pressure { Absolute, Relative };

// One record as stored, before any unit conversion.
struct Ws2800Record {
    double time = 0;                                   // days since 1899-12-30, local time
    float absolutePressure = 0, relativePressure = 0;  // hPa
    float wind = 0, gust = 0;                          // m/s
    std::int32_t direction = 0;                        // sector in the low 5 bits
    float rain = 0;                                    // mm fallen during this record's period
    float tempInt = 0, tempExt = 0;                    // °C
    float humidityInt = 0, humidityExt = 0;            // %

    float pressure(Ws2800Pressure kind) const {
        return kind == Ws2800Pressure::Absolute ? absolutePressure : relativePressure;
    }
};

// The figures of the latest record and its look-backs, named after the WeatherReading fields they feed.
struct Ws2800Reading {
    std::size_t recordCount = 0;  // complete records in the file; the latest is recordCount - 1
    double observedAt = 0;        // time of the latest record (the caller keeps the later of it and the old one)
    double recordInterval = 0;    // days between the last two records; 0 with fewer than three records
    double tempInt = 0, tempExt = 0;
    double pressure = 0;  // hPa, the chosen kind plus the offset
    double pressureOffset = 0;
    // Pressure change over about one hour, without the offset, for the trend rule; nullopt when no earlier
    // record can be used (the trend is then Steady). trendRecord is the index of the earlier record.
    std::optional<double> pressureChange;
    std::size_t trendRecord = 0;
    double windSpeed = 0, gustSpeed = 0;  // km/h
    // The station stores a gust of 51.0 m/s when it has none (three records in four of a real file);
    // gustSpeed still carries it converted (183.6 km/h, inside the wind limits), this flag tells it apart.
    bool gustIsNoData = false;
    int windDirection = 0;  // degrees; the sector is not range-checked (sectors 16..31 exceed 359)
    double humidityInt = 0, humidityExt = 0;
    double rainSum = 0;  // mm: the latest record's rain plus that of the records less than a day older
    double rain24h = 0;  // rainSum, or kNoRain when it is negative or not a number
};

// Number of complete records; a trailing partial record is ignored.
std::size_t ws2800RecordCount(std::span<const std::uint8_t> file);

// Record `index` of the file; index must be below ws2800RecordCount(file).
Ws2800Record ws2800Record(std::span<const std::uint8_t> file, std::size_t index);

// Decodes the whole file. nullopt when it holds no complete record, or when the latest record's time is
// not a date-time of years 1 to 9999 (a damaged record: it would otherwise push observedAt, which never
// moves back, out of reach for the rest of the run).
std::optional<Ws2800Reading> decodeWs2800History(std::span<const std::uint8_t> file, Ws2800Pressure kind,
                                                 double pressureOffset);

}  // namespace tintal
