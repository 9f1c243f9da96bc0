#pragma once
// Figures every source derives the same way.
#include <string>

#include "weather/weather_reading.h"

namespace tintal {

// d: the pressure change over about an hour, hPa. Changes of 50 hPa or more are taken as faults.
PressureTrend classifyTrend(double d, double threshold);
std::string trendCaption(PressureTrend trend);
// Wind chill for T in °C and V in km/h (meaningful from 5 km/h).
double windChill(double t, double v);
// Dew point for T in °C and H in %.
double dewPoint(double t, double h);

}  // namespace tintal
