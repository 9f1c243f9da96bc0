#include "weather/weather_source.h"

namespace tintal {

void WeatherSource::runPostponedRead() {
    if (!reading().refreshPending) return;
    mutableReading().refreshPending = false;
    read();
}

bool isConfigured(const WeatherSource& source) {
    return source.kind() == WeatherSourceKind::MON ? source.reading().linkOk : !source.reading().locator.empty();
}

}  // namespace tintal
