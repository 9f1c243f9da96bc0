#include "weather/web/tform_meteo_piu.h"

namespace tintal {

TFormMeteoPIU::TFormMeteoPIU(WebSourceContext context)
    : WebSourceWindow(std::move(context), WeatherSourceKind::PIOUPIOU,
                      WebFetchRules{kPioupiouWebFileName, '{', 1000, "Erreur fichier #", 1}, "TFormMeteoPIU",
                      "Météo Pioupiou", 0) {
    LabelHistoryFile.setCaption("URL Api Pioupiou");
    // A wind beacon: no temperature, wind chill, rain or humidity.
    for (TickBox* unused : {&CheckBoxText, &CheckBoxTRes, &CheckBoxPluie, &CheckBoxHumiExt}) {
        unused->setEnabled(false);
        unused->setVisible(false);
    }
    LabelTros.setVisible(false);
}

void TFormMeteoPIU::submit(bool fromRead) {
    const std::string address = EditDat.text();
    if (address.empty()) return;
    if (!isWebAddress(address)) return submissionFailed();
    FetchError = 0;
    if (!fileExists(kPioupiouWebFileName)) {
        context_.downloader.purgeCacheEntry(address);
        try {
            FetchAndCheck(address, kPioupiouWebFileName);
        } catch (const std::exception&) {
            FetchError = 1;
        }
    }
    if (FetchError != 0) return submissionFailed();
    StaticTextErreur.setCaption("");
    resetCaptions("Humi.ext (%) = ", "Précipitations = ");
    LabelVmin.setCaption("Vent min.(km/h) = ");
    Labelnomstation.setCaption("Pioupiou");
    submissionAccepted(address, fromRead);
}

int TFormMeteoPIU::extractPage() {
    return extractWorkingFile([](const std::string& document, std::string& kept) {
        PioupiouPageLines lines = extractPioupiouLines(document);
        kept = std::move(lines.file);
        return static_cast<int>(lines.error);
    });
}

void TFormMeteoPIU::TimerMeteoTimer() {
    const auto hold = busy.tryHold();
    if (!hold) return;
    blackCaptions(
        {&CheckBoxText, &CheckBoxPatm, &CheckBoxVent, &CheckBoxRafa, &CheckBoxDire, &CheckBoxTRes, &CheckBoxPluie});
    LabelVmin.setColour(Colour::Black);
    TimerMeteo.stop();
    reading_.pressureOffset = SpinEditOffSetPression.value();
    if (isWebAddress(EditDat.text())) {
        // Every read downloads anew.
        removeFile(kPioupiouWebFileName);
        submit(true);
    }
    const auto file = fileExists(reading_.locator) ? readFile(reading_.locator) : std::nullopt;
    if (file) {
        const PioupiouReadParams params{EditDat.text(), reading_.pressureOffset, context_.loop.localNow(),
                                        context_.desktop.timeZoneBiasMinutes()};
        if (const auto figures = decodePioupiouLines(*file, params)) {
            storePioupiouFigures(*figures, reading_);
            showFigures(*figures);
        }
    }
    startTimerIfStopped();
}

void TFormMeteoPIU::showFigures(const PioupiouFigures& f) {
    Labelnomstation.setCaption(f.stationLabel);
    if (f.observedAt) {
        Editdatemeteo.setText(
            dateFieldText(ComboBoxTU.itemIndex() == 1 ? f.observedAt->observedAt : f.observedAt->utc));
    }
    auto figure = [this](const PioupiouFigure<double>& p, int decimals) {
        return p.shown ? fixed(p.shownValue, decimals) : std::string("--");
    };
    if (f.pressure.present) {
        CheckBoxPatm.setCaption("P atm.(hPa) = " + figure(f.pressure, 1));
        if (f.pressure.shown) colour(CheckBoxPatm, f.pressure.outOfLimits);
    }
    if (f.windSpeed.present) {
        CheckBoxVent.setCaption("Vent (km/h) = " + figure(f.windSpeed, 0));
        colour(CheckBoxVent, f.windSpeed.outOfLimits);
    }
    if (f.gustSpeed.present) {
        CheckBoxRafa.setCaption("Rafale (km/h) = " + figure(f.gustSpeed, 0));
        colour(CheckBoxRafa, f.gustSpeed.outOfLimits);
    }
    if (f.windMin.present) {
        windMin = f.windMin.value;
        LabelVmin.setCaption("Vent min.(km/h) = " + figure(f.windMin, 0));
        LabelVmin.setColour(f.windMin.outOfLimits ? Colour::Red : Colour::Black);
    }
    if (f.windDirection.present) {
        CheckBoxDire.setCaption("Direction (°) = " + (f.windDirection.shown ? std::to_string(f.windDirection.shownValue)
                                                                            : std::string("--")));
    }
}

void TFormMeteoPIU::FormShow() {
    WebSourceWindow::FormShow();
    if (!EditDat.text().empty()) startTimerIfStopped();
}

void TFormMeteoPIU::FormActivate() { startTimerIfStopped(); }

}  // namespace tintal
