#pragma once
// What every source window has: its form, the refresh timer, spin box and button, the figure boxes
// that all sources show, and the reading it keeps. The kinds of windows add their own controls.
#include <functional>
#include <string>

#include "platform/event_loop.h"
#include "weather/weather_source.h"
#include "widgets/button.h"
#include "widgets/spin_box.h"
#include "widgets/tick_box.h"
#include "widgets/timer.h"
#include "widgets/window.h"

namespace tintal {

class SourceWindow : public WeatherSource {
public:
    WeatherSourceKind kind() const override { return kind_; }
    const WeatherReading& reading() const override { return reading_; }
    bool selected() const override { return isSelected_ && isSelected_(); }
    void stopRefresh() override { TimerMeteo.stop(); }

    virtual void ButtonRafraichirClick() = 0;
    // The next refreshes come every SpinEditRafraichir minutes.
    virtual void SpinEditRafraichirChange();

    Window form;
    TickBox CheckBoxText{"CheckBoxText", "T.ext (°C) ="};
    TickBox CheckBoxPatm{"CheckBoxPatm", "P.atm. (hPa) ="};
    TickBox CheckBoxVent{"CheckBoxVent", "Vent (km/h) ="};
    TickBox CheckBoxRafa{"CheckBoxRafa", "Rafale (km/h) ="};
    TickBox CheckBoxDire{"CheckBoxDire", "Direction ="};
    Timer TimerMeteo;
    SpinBox SpinEditRafraichir{"SpinEditRafraichir", 1, 60, 1};
    Button ButtonRafraichir{"ButtonRafraichir", "Rafraichir"};

protected:
    // isSelected: the chooser's radio button of this kind is checked; hideChooser: hides the chooser
    // when the window is shown.
    SourceWindow(EventLoop& loop, WeatherSourceKind kind, std::string name, std::string caption, Rect bounds,
                 std::function<bool()> isSelected, std::function<void()> hideChooser);

    WeatherReading& mutableReading() override { return reading_; }
    void hideChooser() const {
        if (hideChooser_) hideChooser_();
    }

    WeatherReading reading_;

private:
    WeatherSourceKind kind_;
    std::function<bool()> isSelected_;
    std::function<void()> hideChooser_;
};

}  // namespace tintal
