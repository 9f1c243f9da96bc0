#pragma once
// What every weather source delivers: the latest figures, written only by that source and read by
// the announcement. A field a source does not fill stays zero and is never read for that source.
#include <cstdint>
#include <string>

namespace tintal {

enum class WeatherSourceKind { None = 0, MON = 1, W23 = 2, W28 = 3, APRS = 4, PRO2 = 5, METAR = 6, PIOUPIOU = 7 };

enum class PressureTrend : std::int8_t { Steady = 0, Rising = 1, Falling = 2 };

// Values stored for a figure that cannot be had.
inline constexpr double kNoFeelsLike = -80.0;
inline constexpr double kNoRain = -1.0;
inline constexpr int kNoDirection = -1;
inline constexpr int kVariableDirection = 999;

struct WeatherReading {
    std::string locator;  // the file the source reads; empty = not configured
    bool linkOk = false;  // the station link answered with a plausible reading
    double observedAt = 0;
    double tempInt = 0, tempExt = 0;
    double feelsLike = 0;
    double dewPoint = 0;
    double pressure = 0;  // hPa, offset included
    double pressureOffset = 0;
    PressureTrend pressureTrend = PressureTrend::Steady;
    double windSpeed = 0, gustSpeed = 0;  // km/h
    int windDirection = 0;                // degrees the wind blows from, 0..359
    double humidityInt = 0, humidityExt = 0;
    double rain24h = 0;                // mm
    std::uint32_t presentWeather = 0;  // present-weather flags of a METAR report
    bool refreshPending = false;       // a refresh fell due during an announcement
};

// Closed validity intervals shared by every source.
struct Limits {
    double lower, upper;
    bool contains(double v) const { return v >= lower && v <= upper; }
};
inline constexpr Limits kTemperatureLimits{-50.0, 60.0};
inline constexpr Limits kFeelsLikeLimits{-75.0, 60.0};
inline constexpr Limits kPressureLimits{930.0, 1050.0};
inline constexpr Limits kWindLimits{0.0, 199.0};
inline constexpr Limits kGustLimits{5.0, 199.0};  // the announcement's; windows colour gusts as winds

}  // namespace tintal
