#pragma once
// How the source windows show a figure in its caption, the same in every window that shows it.
#include <limits>
#include <optional>
#include <string>

#include "weather/weather_reading.h"
#include "widgets/label.h"

namespace tintal {

struct FigureFormat {
    double WeatherReading::*field;  // where the reading keeps the figure
    const char* prefix;             // the caption up to the value
    int decimals;
    Limits limits;  // beyond them the caption turns red
};

inline constexpr Limits kHumidityLimits{0.0, 100.0};

inline constexpr FigureFormat kTempIntFigure{&WeatherReading::tempInt, "T int.(°C) = ", 1, kTemperatureLimits};
inline constexpr FigureFormat kTempExtFigure{&WeatherReading::tempExt, "T ext.(°C) = ", 1, kTemperatureLimits};
inline constexpr FigureFormat kPressureFigure{&WeatherReading::pressure, "P atm.(hPa) = ", 1, kPressureLimits};
inline constexpr FigureFormat kWindFigure{&WeatherReading::windSpeed, "Vent (km/h) = ", 0, kWindLimits};
inline constexpr FigureFormat kGustFigure{&WeatherReading::gustSpeed, "Rafale (km/h) = ", 0, kWindLimits};
inline constexpr FigureFormat kHumidityIntFigure{&WeatherReading::humidityInt, "Humi. int (%) = ", 0, kHumidityLimits};
inline constexpr FigureFormat kHumidityExtFigure{&WeatherReading::humidityExt, "Humi. ext (%) = ", 0, kHumidityLimits};
inline constexpr FigureFormat kDewPointFigure{&WeatherReading::dewPoint, "T. rosée (C°) = ", 1, kTemperatureLimits};
// No window colours the rain.
inline constexpr FigureFormat kRainFigure{
    &WeatherReading::rain24h, "Pluie/24h (mm) = ", 1,
    Limits{-std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity()}};
inline constexpr FigureFormat kFeelsLikeFigure{&WeatherReading::feelsLike, "T. ressentie (C°) = ", 1,
                                               kTemperatureLimits};

// The caption's start, then the value with the figure's decimals, or "--" when there is none.
std::string figureCaption(const FigureFormat& figure, std::optional<double> value, char decimalSeparator);

// Stores a figure in the reading and shows it in its box or label, red beyond the figure's limits.
template <class Box>
void showFigure(Box& box, const FigureFormat& figure, double value, WeatherReading& reading, char decimalSeparator) {
    reading.*figure.field = value;
    box.setColour(figure.limits.contains(value) ? Colour::Black : Colour::Red);
    box.setCaption(figureCaption(figure, value, decimalSeparator));
}

}  // namespace tintal
