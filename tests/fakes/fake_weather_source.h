#pragma once
#include "weather/weather_source.h"

namespace tintal {

// A source whose reading, selection, error text and ticks the test sets directly.
class FakeWeatherSource : public WeatherSource {
public:
    explicit FakeWeatherSource(WeatherSourceKind kind) : kind_(kind) {}
    WeatherSourceKind kind() const override { return kind_; }
    const WeatherReading& reading() const override { return values; }
    bool selected() const override { return isSelected; }
    std::string errorText() const override { return error; }
    AnnounceFlags announceFlags() const override { return flags; }
    void read() override { ++reads; }
    void select(bool showWindow) override {
        ++selections;
        shown = showWindow;
    }
    void stopRefresh() override { ++stops; }

    WeatherReading values;
    bool isSelected = false;
    std::string error;
    AnnounceFlags flags;
    int reads = 0, selections = 0, stops = 0;
    bool shown = false;

protected:
    WeatherReading& mutableReading() override { return values; }

private:
    WeatherSourceKind kind_;
};

// Every figure ticked.
inline AnnounceFlags allTicked() { return {true, true, true, true, true, true, true, true, true, true}; }

}  // namespace tintal
