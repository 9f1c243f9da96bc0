#pragma once
// The source chooser "Choix Station Météo": exactly one kind is checked; checking one stops every
// other source's refreshes and starts the chosen one.
#include <array>
#include <functional>

#include "weather/weather_source.h"
#include "widgets/label.h"
#include "widgets/radio_button.h"
#include "widgets/window.h"

namespace tintal {

class TFormChoixMeteo {
public:
    TFormChoixMeteo();

    // Sources are registered once, at start-up; a kind without a source has nothing to start.
    void attach(WeatherSource& source);
    bool isChecked(WeatherSourceKind kind) const { return button(kind).checked(); }
    WeatherSourceKind checkedKind() const;
    RadioButton& button(WeatherSourceKind kind) { return *buttons_[static_cast<int>(kind)]; }
    const RadioButton& button(WeatherSourceKind kind) const { return *buttons_[static_cast<int>(kind)]; }

    // The selection routine of a kind (what its radio button runs when it becomes checked).
    void selectKind(WeatherSourceKind kind);
    // Centres the chooser on the main window and remembers the selection.
    void FormShow(const Rect& mainWindow);
    // Closing without a change re-runs the selection of the remembered kind.
    void FormClose();

    // While the settings load into a program started minimised, source windows stay hidden.
    std::function<bool()> windowsSuppressed;

    Window form{"TFormChoixMeteo", "Choix Station Météo", Rect{300, 200, 300, 270}};
    Label GroupBoxStations{"GroupBoxStations", "Stations Météo"};
    RadioButton::Group group;
    RadioButton RadioButtonNoMeteo{group, "RadioButtonNoMeteo", "Pas de météo", true};
    RadioButton RadioButtonMON{group, "RadioButtonMON", "Davis Weather Monitor II"};
    RadioButton RadioButtonW23{group, "RadioButtonW23", "Lacrosse WS-2310 / 2315 / 2355 +"};
    RadioButton RadioButtonW28{group, "RadioButtonW28", "Lacrosse WS-2800 / 3610 +"};
    RadioButton RadioButtonAPRS{group, "RadioButtonAPRS", "Données APRS (format UI-VIEW)"};
    RadioButton RadioButtonPro2{group, "RadioButtonPro2", "Davis Vantage Pro2"};
    RadioButton RadioButtonMETAR{group, "RadioButtonMETAR", "Données METAR (Aviation)"};
    RadioButton RadioButtonPIU{group, "RadioButtonPIU", "Données Pioupiou"};

private:
    std::array<RadioButton*, 8> buttons_;
    std::array<WeatherSource*, 8> sources_{};
    WeatherSourceKind selectedAtShow_ = WeatherSourceKind::None;
};

}  // namespace tintal
