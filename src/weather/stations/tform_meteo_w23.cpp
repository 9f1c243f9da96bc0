#include "weather/stations/tform_meteo_w23.h"

#include <algorithm>

#include "weather/stations/ws2300_history.h"

namespace tintal {

namespace {

// What the window stores for a figure the station did not measure; none of them is spoken.
constexpr double kNoTempExt = -70.0;
constexpr double kNoWind = -1.0;
constexpr double kNoHumidity = -1.0;

void showMissing(TickBox& box, const std::string& caption) {
    box.setColour(Colour::Black);
    box.setCaption(caption);
}

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
    reading_.tempInt = f->tempInt;
    showFigure(CheckBoxTint, "T int.(°C) = ", f->tempInt, 1, kTemperatureLimits);
    if (f->tempExtMissing) {
        reading_.tempExt = kNoTempExt;
        showMissing(CheckBoxText, "T ext.(°C) = --");
    } else {
        reading_.tempExt = f->tempExt;
        showFigure(CheckBoxText, "T ext.(°C) = ", f->tempExt, 1, kTemperatureLimits);
    }
    reading_.pressure = f->pressure;
    showFigure(CheckBoxPatm, "P atm.(hPa) = ", f->pressure, 1, kPressureLimits);
    showTrend(f->pressureChange);

    if (f->windMissing) {
        reading_.windSpeed = kNoWind;
        showMissing(CheckBoxVent, "Vent (km/h) = --");
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

    reading_.humidityInt = f->humidityInt;
    LabelHumInt.setColour(f->humidityInt < 0 || f->humidityInt > 100 ? Colour::Red : Colour::Black);
    LabelHumInt.setCaption("Humi. int (%) = " + std::to_string(f->humidityInt));
    if (f->humidityExtMissing) {
        reading_.humidityExt = kNoHumidity;
        showMissing(CheckBoxHumiExt, "Humi. ext (%) = --");
    } else {
        reading_.humidityExt = f->humidityExt;
        CheckBoxHumiExt.setColour(f->humidityExt < 0 || f->humidityExt > 100 ? Colour::Red : Colour::Black);
        CheckBoxHumiExt.setCaption("Humi. ext (%) = " + std::to_string(f->humidityExt));
    }

    reading_.rain24h = f->rain24h;
    CheckBoxPluie.setCaption(f->rain24h >= 0 ? "Pluie/24h (mm) = " + fixed(f->rain24h, 1) : "Pluie/24h (mm) = --");
    showWindChillAndDewPoint(reading_.windSpeed);
    return true;
}

void TFormMeteoW23::resetCaptions() {
    FileSourceWindow::resetCaptions();
    CheckBoxHumiExt.setCaption("Humi.ext (%) =");
}

}  // namespace tintal
