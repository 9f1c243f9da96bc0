#include "weather/file_source_window.h"

#include <cmath>

#include "base/numbers.h"
#include "weather/derived_figures.h"

namespace tintal {

FileSourceWindow::FileSourceWindow(SourceWindowContext context, WeatherSourceKind kind, std::string name,
                                   std::string caption, std::string fileFilter, std::string fileExtension)
    : SourceWindow(context.loop, kind, std::move(name), std::move(caption), Rect{260, 180, 480, 420},
                   context.isSelected, context.hideChooser),
      context_(std::move(context)),
      fileFilter_(std::move(fileFilter)),
      fileExtension_(std::move(fileExtension)) {
    SpinEditSeuiltendance.onChange = [this] { SpinEditSeuiltendanceChange(); };
    ButtonParcourir.onClick = [this] { ButtonParcourirClick(); };
    form.onShow = [this] { FormShow(); };
    form.onClose = [this] { FormClose(); };
    figureBoxes_ = {&CheckBoxTint, &CheckBoxText, &CheckBoxPatm, &CheckBoxTend,  &CheckBoxVent,
                    &CheckBoxRafa, &CheckBoxDire, &CheckBoxTRes, &CheckBoxPluie, &CheckBoxHumiExt};
}

void FileSourceWindow::TimerMeteoTimer() {
    TimerMeteo.stop();
    reading_.pressureOffset = SpinEditOffSetPression.value();
    const std::string path = fileToRead();
    if (!context_.files.exists(path)) {
        if (retryWhenMissing()) TimerMeteo.start();
        return;
    }
    const auto bytes = context_.files.readShared(path);
    if (!bytes || !decodeAndShow(*bytes)) {
        fail();
    } else if (goodReadClearsError()) {
        StaticTextErreur.setCaption("");
    }
    TimerMeteo.start();
}

void FileSourceWindow::select(bool showWindow) {
    TimerMeteoTimer();
    if (showWindow) form.show();
}

void FileSourceWindow::fail() {
    context_.desktop.beep();
    StaticTextErreur.setCaption("Erreur fichier");
}

void FileSourceWindow::ButtonRafraichirClick() {
    TimerMeteo.setInterval(SpinEditRafraichir.value() * 60000);
    TimerMeteoTimer();
}

void FileSourceWindow::SpinEditSeuiltendanceChange() { context_.threshold.value = SpinEditSeuiltendance.value() * 0.1; }

void FileSourceWindow::ButtonParcourirClick() {
    const auto chosen = context_.desktop.chooseFile(fileFilter_, fileExtension_);
    if (!chosen) return;
    resetCaptions();
    reading_.locator = *chosen;
    Editdatemeteo.setText("");
    setFile(*chosen);
    if (!reading_.locator.empty()) {
        StaticTextErreur.setCaption("");
        ButtonRafraichirClick();
    }
}

void FileSourceWindow::setFile(const std::string& path) {
    if (context_.files.exists(path)) {
        reading_.locator = path;
        EditDat.setText(path);
        return;
    }
    reading_.locator.clear();
    EditDat.setText("");
    context_.desktop.beep();
    StaticTextErreur.setCaption("Erreur fichier");
}

void FileSourceWindow::FormShow() { hideChooser(); }

void FileSourceWindow::FormClose() {}

void FileSourceWindow::resetCaptions() {
    const struct {
        TickBox& box;
        const char* caption;
    } empty[] = {{CheckBoxTint, "T int.(°C) = "},     {CheckBoxText, "T ext.(°C) = "},
                 {CheckBoxPatm, "P atm.(hPa) = "},    {CheckBoxTend, "tendance = "},
                 {CheckBoxVent, "Vent (km/h) = "},    {CheckBoxRafa, "Rafale (km/h) = "},
                 {CheckBoxDire, "Direction (°) = "},  {CheckBoxHumiExt, "Humi. ext (%) = "},
                 {CheckBoxPluie, "Pluie/24h (mm) ="}, {CheckBoxTRes, "T.ressentie (°C) = "}};
    for (const auto& e : empty) {
        e.box.setCaption(e.caption);
        e.box.setColour(Colour::Black);
    }
}

std::string FileSourceWindow::fixed(double value, int decimals) const {
    return formatFixed(value, decimals, context_.desktop.decimalSeparator());
}

void FileSourceWindow::showRain(double rain) {
    reading_.rain24h = rain;
    CheckBoxPluie.setCaption(figureCaption(kRainFigure, rain >= 0 ? std::optional(rain) : std::nullopt,
                                           context_.desktop.decimalSeparator()));
}

void FileSourceWindow::showObservedAt(double observedAt) {
    Editdatemeteo.setText(context_.desktop.shortDate(observedAt) + " " + context_.desktop.longTime(observedAt));
}

void FileSourceWindow::showTrend(std::optional<double> change) {
    if (!valid(CheckBoxPatm)) return;  // an invalid pressure leaves the last trend in place
    reading_.pressureTrend = change ? classifyTrend(*change, context_.threshold.value) : PressureTrend::Steady;
    CheckBoxTend.setCaption(trendCaption(reading_.pressureTrend));
}

void FileSourceWindow::showWindChillAndDewPoint(double v) {
    if (v >= 5.0 && valid(CheckBoxVent) && valid(CheckBoxText)) {
        reading_.feelsLike = windChill(reading_.tempExt, v);
        CheckBoxTRes.setCaption("T. ressentie (°C) = " + fixed(reading_.feelsLike, 1));
    } else {
        reading_.feelsLike = kNoFeelsLike;
        CheckBoxTRes.setCaption("T. ressentie (°C) = --");
    }
    const double dew = dewPoint(reading_.tempExt, reading_.humidityExt);
    // A humidity out of its range gives no dew point rather than a meaningless number.
    if (valid(CheckBoxText) && std::isfinite(dew) && reading_.humidityExt >= 0 && reading_.humidityExt <= 100) {
        reading_.dewPoint = dew;
        LabelTros.setCaption("T. rosée (°C) = " + fixed(dew, 1));
    } else {
        LabelTros.setCaption("T. rosée (°C) = --");
    }
}

}  // namespace tintal
