#include "weather/stations/tform_meteo_w23.h"

#include <algorithm>

#include "weather/stations/ws2300_history.h"

namespace tintal {

namespace {

// What the window stores for a figure the station did not measure; none of them is spoken.
constexpr double kNoTempExt = -70.0;
constexpr double kNoWind = -1.0;
constexpr double kNoHumidity = -1.0;

std::optional<double> measured(double value, bool present) { return present ? std::optional(value) : std::nullopt; }

}  // namespace

TFormMeteoW23::TFormMeteoW23(SourceWindowContext context)
    : FileSourceWindow(std::move(context), WeatherSourceKind::W23, "TFormMeteoW23", "Meteo WS-2310 / 2315 / 2355+",
                       "Fichiers history.dat|*.dat", "dat") {}

bool TFormMeteoW23::decodeAndShow(const std::vector<std::uint8_t>& bytes) {
    const auto f = decodeWs2300History(bytes, reading_.pressureOffset);
    if (!f) return false;
    // The observation time never moves back, even when another file is chosen.
    reading_.observedAt = std::max(reading_.observedAt, f->observedAt);
    showObservedAt(f->observedAt);
    recordInterval = f->recordInterval;
    showFigure(CheckBoxTint, kTempIntFigure, f->tempInt);
    showMeasured(CheckBoxText, kTempExtFigure, measured(f->tempExt, !f->tempExtMissing), kNoTempExt);
    showFigure(CheckBoxPatm, kPressureFigure, f->pressure);
    showTrend(f->pressureChange);

    if (f->windMissing) {
        showMeasured(CheckBoxVent, kWindFigure, std::nullopt, kNoWind);
        reading_.windDirection = kNoDirection;
        CheckBoxDire.setCaption("Direction (°) = --");
    } else {
        reading_.windSpeed = f->windSpeed;
        CheckBoxVent.setColour(f->windValid ? Colour::Black : Colour::Red);
        CheckBoxVent.setCaption("Vent (km/h) = " + fixed(f->windSpeed, 0));
        reading_.windDirection = f->windDirection;
        CheckBoxDire.setCaption("Direction (°) = " + std::to_string(f->windDirection));
    }
    reading_.gustSpeed = std::max(f->windValid ? f->windSpeed : 0.0, f->gustSpeed);
    CheckBoxRafa.setCaption("Rafale (km/h) = " + fixed(reading_.gustSpeed, 0));

    showFigure(LabelHumInt, kHumidityIntFigure, f->humidityInt);
    showMeasured(CheckBoxHumiExt, kHumidityExtFigure, measured(f->humidityExt, !f->humidityExtMissing), kNoHumidity);

    showRain(f->rain24h);
    showWindChillAndDewPoint(reading_.windSpeed);
    return true;
}

void TFormMeteoW23::showMeasured(TickBox& box, const FigureFormat& figure, std::optional<double> value, double none) {
    if (value) return showFigure(box, figure, *value);
    reading_.*figure.field = none;
    box.setColour(Colour::Black);
    box.setCaption(figureCaption(figure, std::nullopt, context_.desktop.decimalSeparator()));
}

void TFormMeteoW23::resetCaptions() {
    FileSourceWindow::resetCaptions();
    CheckBoxHumiExt.setCaption("Humi.ext (%) =");
}

}  // namespace tintal
