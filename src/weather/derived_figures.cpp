#include "weather/derived_figures.h"

#include <cmath>

namespace tintal {

PressureTrend classifyTrend(double d, double threshold) {
    PressureTrend trend = PressureTrend::Steady;
    if (d > -50 && d < 50) {
        if (d > threshold) trend = PressureTrend::Rising;
        if (-d > threshold) trend = PressureTrend::Falling;
    }
    return trend;
}

std::string trendCaption(PressureTrend trend) {
    switch (trend) {
        case PressureTrend::Rising: return "tendance : en hausse";
        case PressureTrend::Falling: return "tendance : en baisse";
        default: return "tendance : stationnaire";
    }
}

double windChill(double t, double v) { return 13.12 + 0.6215 * t + std::pow(v, 0.16) * (0.3965 * t - 11.37); }

double dewPoint(double t, double h) { return std::pow(h / 100, 0.125) * (112 + 0.9 * t) + 0.1 * t - 112; }

}  // namespace tintal
