#pragma once
// Decoder of the history file that the PC software of a La Crosse WS-2300 family station (WS-2310,
// WS-2315, WS-2355) keeps: fixed 36-byte little-endian records, oldest first, no header. It gives the
// figures of the latest record and the look-backs the W23 source needs; it opens no file and keeps no
// state, so the window model can call it on every refresh with the bytes it has just read.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "weather/weather_reading.h"

namespace tintal {

inline constexpr std::size_t kWs2300RecordSize = 36;

// What the station software writes while the outdoor sensor is lost: wind 51.0 m/s (183.6 km/h, inside
// the wind limits, so it is recognised by value or it would be announced as a storm), outdoor
// temperature 81.1 °C and outdoor humidity 110 %. Its own export shows these as "---".
inline constexpr float kWs2300NoWind = 51.0f;
inline constexpr float kWs2300NoTempExt = 81.11f;
inline constexpr std::int8_t kWs2300NoHumidity = 110;

struct Ws2300Figures {
    std::size_t recordCount = 0;      // complete records in the file; the latest one is recordCount - 1
    double observedAt = 0;            // time of the latest record; the window keeps the later of this and its own
    double recordInterval = 0;        // days from the next-to-last record to the latest; 0 with fewer than three
    double tempInt = 0, tempExt = 0;  // degrees C
    bool tempExtMissing = false;      // the lost-sensor marker: no outdoor temperature
    double pressure = 0;              // hPa, offset included
    // Latest pressure minus the one of the record about an hour earlier, both without the offset; empty
    // when there is no usable interval (fewer than three records, or a clock that did not move forward).
    std::optional<double> pressureChange;
    double windSpeed = 0;      // km/h, as stored even when it is the no-data marker
    bool windValid = false;    // inside the wind limits and not the no-data marker: the caption is black
    bool windMissing = false;  // the lost-sensor marker: no wind, and no direction from that sensor
    double gustSpeed = 0;      // km/h: highest valid mean wind of the last ten records, record 0 excepted; 0 if none
    int windDirection = 0;     // degrees, 22.5 per sector, halves to even; up to 698 for a corrupt sector
    int humidityInt = 0, humidityExt = 0;  // %, signed bytes: out of 0..100 means the caption is red
    bool humidityExtMissing = false;       // the lost-sensor marker
    double rainTotal = 0;                  // mm, the latest record's running counter
    double rain24h = kNoRain;              // mm since the record about 24 h earlier; kNoRain when unknown
};

// Observation time of a stored seconds count, in days since 1899-12-30. The 49-hour shift is added
// modulo 2^32, so 0 is 1900-01-01 01:00:00 and the top of the range wraps round to 1899-12-30.
double ws2300ObservationTime(std::uint32_t seconds);

// Decodes the whole file. A trailing partial record is ignored; a file without one complete record
// gives nothing. pressureOffset is the user's correction in hPa, added to the latest pressure only.
std::optional<Ws2300Figures> decodeWs2300History(std::span<const std::uint8_t> file, double pressureOffset);

}  // namespace tintal
