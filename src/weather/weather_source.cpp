#include "weather/weather_source.h"

namespace tintal {

void WeatherSource::runPostponedRead() {
    if (!reading().refreshPending) return;
    mutableReading().refreshPending = false;
    read();
}

AnnounceFlags WeatherSource::announceFlags() const {
    const PerFigure<TickBox*>& b = figureBoxes_;
    auto ticked = [](const TickBox* box) { return box != nullptr && box->checked(); };
    return {ticked(b.tempInt), ticked(b.tempExt),   ticked(b.pressure),  ticked(b.trend), ticked(b.wind),
            ticked(b.gust),    ticked(b.direction), ticked(b.feelsLike), ticked(b.rain),  ticked(b.humidityExt)};
}

std::vector<TickBox*> WeatherSource::figureBoxes() const {
    const PerFigure<TickBox*>& b = figureBoxes_;
    std::vector<TickBox*> boxes;
    for (TickBox* box :
         {b.tempInt, b.tempExt, b.pressure, b.trend, b.wind, b.gust, b.direction, b.feelsLike, b.rain, b.humidityExt}) {
        if (box != nullptr) boxes.push_back(box);
    }
    return boxes;
}

bool isConfigured(const WeatherSource& source) {
    return source.kind() == WeatherSourceKind::MON ? source.reading().linkOk : !source.reading().locator.empty();
}

}  // namespace tintal
