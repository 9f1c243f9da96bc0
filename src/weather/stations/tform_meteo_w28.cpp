#include "weather/stations/tform_meteo_w28.h"

#include <algorithm>

#include "weather/stations/ws2800_history.h"

namespace tintal {

namespace {

// A humidity the station could not measure (not a number) is as invalid as one out of range.
Colour humidityColour(double h) { return h >= 0 && h <= 100 ? Colour::Black : Colour::Red; }

}  // namespace

TFormMeteoW28::TFormMeteoW28(SourceWindowContext context)
    : FileSourceWindow(std::move(context), WeatherSourceKind::W28, "TFormMeteoW28", "Meteo WS-2800 / 3610+",
                       "Fichiers history.dat|*.dat", "dat") {
    RadioButtonPABS.onClick = [this] { RadioButtonPABSClick(); };
    RadioButtonPREL.onClick = [this] { RadioButtonPRELClick(); };
}

bool TFormMeteoW28::decodeAndShow(const std::vector<std::uint8_t>& bytes) {
    const Ws2800Pressure kind = RadioButtonPABS.checked() ? Ws2800Pressure::Absolute : Ws2800Pressure::Relative;
    const auto f = decodeWs2800History(bytes, kind, reading_.pressureOffset);
    if (!f) return false;
    // The observation time never moves back, even when another file is chosen.
    reading_.observedAt = std::max(reading_.observedAt, f->observedAt);
    showObservedAt(f->observedAt);
    recordInterval = f->recordInterval;
    reading_.tempInt = f->tempInt;
    showFigure(CheckBoxTint, "T int.(°C) = ", f->tempInt, 1, kTemperatureLimits);
    reading_.tempExt = f->tempExt;
    showFigure(CheckBoxText, "T ext.(°C) = ", f->tempExt, 1, kTemperatureLimits);
    reading_.pressure = f->pressure;
    showFigure(CheckBoxPatm, "P atm.(hPa) = ", f->pressure, 1, kPressureLimits);
    showTrend(f->pressureChange);

    reading_.windSpeed = f->windSpeed;
    showFigure(CheckBoxVent, "Vent (km/h) = ", f->windSpeed, 0, kWindLimits);
    if (f->gustIsNoData) {
        // The station writes 51.0 m/s when it measured no gust (most records of a real file). Taken as
        // a figure it would be spoken as a 184 km/h gust; 0 is below every gust the announcement speaks,
        // and the red "--" tells the user the station gave none.
        reading_.gustSpeed = 0;
        CheckBoxRafa.setColour(Colour::Red);
        CheckBoxRafa.setCaption("Rafale (km/h) = --");
    } else {
        reading_.gustSpeed = f->gustSpeed;
        showFigure(CheckBoxRafa, "Rafale (km/h) = ", f->gustSpeed, 0, kWindLimits);
    }
    reading_.windDirection = f->windDirection;
    CheckBoxDire.setCaption("Direction (°) = " + std::to_string(f->windDirection));

    reading_.humidityInt = f->humidityInt;
    LabelHumInt.setColour(humidityColour(f->humidityInt));
    LabelHumInt.setCaption("Humi. int (%) = " + fixed(f->humidityInt, 0));
    reading_.humidityExt = f->humidityExt;
    CheckBoxHumiExt.setColour(humidityColour(f->humidityExt));
    CheckBoxHumiExt.setCaption("Humi. ext (%) = " + fixed(f->humidityExt, 0));

    rainSum = f->rainSum;
    reading_.rain24h = f->rain24h;
    CheckBoxPluie.setCaption(f->rain24h >= 0 ? "Pluie/24h (mm) = " + fixed(f->rain24h, 1) : "Pluie/24h (mm) = --");
    showWindChillAndDewPoint(reading_.windSpeed);
    return true;
}

}  // namespace tintal
