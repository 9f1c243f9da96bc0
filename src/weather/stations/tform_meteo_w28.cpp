#include "weather/stations/tform_meteo_w28.h"

#include <algorithm>

#include "weather/stations/ws2800_history.h"

namespace tintal {

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
    showFigure(CheckBoxTint, kTempIntFigure, f->tempInt);
    showFigure(CheckBoxText, kTempExtFigure, f->tempExt);
    showFigure(CheckBoxPatm, kPressureFigure, f->pressure);
    showTrend(f->pressureChange);

    showFigure(CheckBoxVent, kWindFigure, f->windSpeed);
    if (f->gustIsNoData) {
        // The station writes 51.0 m/s when it measured no gust (most records of a real file). Taken as
        // a figure it would be spoken as a 184 km/h gust; 0 is below every gust the announcement speaks,
        // and the red "--" tells the user the station gave none.
        reading_.gustSpeed = 0;
        CheckBoxRafa.setColour(Colour::Red);
        CheckBoxRafa.setCaption("Rafale (km/h) = --");
    } else {
        showFigure(CheckBoxRafa, kGustFigure, f->gustSpeed);
    }
    reading_.windDirection = f->windDirection;
    CheckBoxDire.setCaption("Direction (°) = " + std::to_string(f->windDirection));

    // A humidity the station could not measure (not a number) is as invalid as one out of range.
    showFigure(LabelHumInt, kHumidityIntFigure, f->humidityInt);
    showFigure(CheckBoxHumiExt, kHumidityExtFigure, f->humidityExt);

    rainSum = f->rainSum;
    showRain(f->rain24h);
    showWindChillAndDewPoint(reading_.windSpeed);
    return true;
}

}  // namespace tintal
