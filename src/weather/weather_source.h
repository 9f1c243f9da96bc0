#pragma once
// What the rest of the program needs of a weather source window: its reading, whether it is the
// chooser's selection, its error text and which figures the user ticked to be spoken.
#include <string>
#include <vector>

#include "weather/weather_reading.h"
#include "widgets/tick_box.h"

namespace tintal {

// One value for each figure a source may speak, in the order the windows show them.
template <class T>
struct PerFigure {
    T tempInt{}, tempExt{}, pressure{}, trend{}, wind{}, gust{}, direction{}, feelsLike{}, rain{}, humidityExt{};
    bool operator==(const PerFigure&) const = default;
};

using AnnounceFlags = PerFigure<bool>;

class WeatherSource {
public:
    virtual ~WeatherSource() = default;
    virtual WeatherSourceKind kind() const = 0;
    virtual const WeatherReading& reading() const = 0;
    // The chooser's radio button of this kind is checked.
    virtual bool selected() const = 0;
    // The window's error text; empty when the reading is usable (always empty for the station link).
    virtual std::string errorText() const = 0;
    // The figures whose tick boxes are ticked.
    virtual AnnounceFlags announceFlags() const;
    // The window's figure tick boxes in the window's order.
    std::vector<TickBox*> figureBoxes() const;
    // The read routine (what the refresh timer runs).
    virtual void read() = 0;
    // Chosen in the chooser: start reading (and show the window unless told not to).
    virtual void select(bool showWindow) = 0;
    // Another source was chosen: no more refreshes.
    virtual void stopRefresh() = 0;
    // A read postponed while announcing is due: clears the mark and reads.
    void runPostponedRead();

protected:
    virtual WeatherReading& mutableReading() = 0;

    // Set by the window once: its tick box of each figure; none for a figure it does not show.
    PerFigure<TickBox*> figureBoxes_;
};

// Configured: the station link is up (MON) or a file or address is set (every other kind).
bool isConfigured(const WeatherSource& source);

}  // namespace tintal
