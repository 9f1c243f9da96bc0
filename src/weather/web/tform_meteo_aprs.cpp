#include "weather/web/tform_meteo_aprs.h"

#include "weather/web/address_history.h"

namespace tintal {

TFormMeteoAPRS::TFormMeteoAPRS(WebSourceContext context)
    : WebSourceWindow(std::move(context), WeatherSourceKind::APRS,
                      WebFetchRules{kAprsWebFileName, '<', 100, "File error #", 1}, "TFormMeteoAPRS", "Météo APRS", 1) {
    LabelHistoryFile.setCaption("Fichier APRS");
    ButtonLogin.setCaption(aprsLoginButtonCaption(kAprsSiteHost));
    // The time base only says how to read the next file's time line: changing it reads nothing.
    ComboBoxTU.onChange = nullptr;
    ButtonParcourir.onClick = [this] { ButtonParcourirClick(); };
    ButtonLogin.onClick = [this] { ButtonLoginClick(); };
    for (RadioButton* unit :
         {&RadioButtonKM, &RadioButtonMile, &RadioButtondegC, &RadioButtonDegF, &RadioButtonMM, &RadioButtonInch}) {
        unit->onClick = [this] { RadioButtondegCClick(); };
    }
    RadioButtonKnot.onClick = [this] { RadioButtonKnotClick(); };
}

void TFormMeteoAPRS::acceptLocator(const std::string& locator) {
    StaticTextErreur.setCaption("");
    resetCaptions("Humi.ext (%) =", "Pluie/24h (mm) =");
    reading_.locator = locator;
}

void TFormMeteoAPRS::submit(bool fromRead) {
    const std::string address = EditDat.text();
    if (address.empty()) return;
    if (!isWebAddress(address) && fileExists(address)) {
        acceptLocator(address);
        addToHistory(ComboBoxPath, address);
        if (!refreshRunning_) ButtonRafraichirClick();
        return;
    }
    if (!isWebAddress(address)) {
        if (FetchError != 0) {
            showError();
        } else {
            StaticTextErreur.setCaption("");
        }
        startTimerIfStopped();
        return;
    }
    FetchError = 0;
    FetchAndCheck(address, kAprsWebFileName);
    if (FetchError != 0) {
        submissionFailed();
        if (FetchError == 6 && aprsAddressNamesSite(address, kAprsSiteHost)) {
            context_.desktop.messageBox(aprsCheckAddressMessage(kAprsSiteHost));
        }
        return;
    }
    acceptLocator(kAprsWebFileName);
    submissionAccepted(address, fromRead);
}

int TFormMeteoAPRS::extractPage() {
    return extractWorkingFile([](const std::string& page, std::string& kept) {
        const AprsRawLine cut = extractAprsRawLine(page);
        kept = cut.line + "\r\n";
        return cut.fetchError;
    });
}

void TFormMeteoAPRS::ButtonRafraichirClick() {
    Rect bounds = form.bounds();
    bounds.height = storedHeight;
    form.setBounds(bounds);
    WebSourceWindow::ButtonRafraichirClick();
}

void TFormMeteoAPRS::ButtonParcourirClick() {
    StaticTextErreur.setCaption("");
    const auto chosen = context_.desktop.chooseFile("Fichiers WXNOW.TXT|*.txt", "txt");
    if (!chosen) return;
    acceptLocator(*chosen);
    if (fileExists(*chosen)) {
        EditDat.setText(*chosen);
        addToHistory(ComboBoxPath, *chosen);
        if (!refreshRunning_) ButtonRafraichirClick();
        return;
    }
    reading_.locator.clear();
    EditDat.setText("");
    context_.desktop.beep();
}

void TFormMeteoAPRS::ButtonLoginClick() {
    removeFile(kAprsWebFileName);
    const std::string page = aprsLoginPageAddress(kAprsSiteHost);
    StaticTextErreur.setCaption(context_.desktop.openInBrowser(page) ? "Login : page ouverte dans le navigateur"
                                                                     : "Login : pas de navigateur pour " + page);
}

void TFormMeteoAPRS::RadioButtondegCClick() {
    if (!refreshRunning_) ButtonRafraichirClick();
}

void TFormMeteoAPRS::FormShow() {
    WebSourceWindow::FormShow();
    rememberedHeight_ = form.bounds().height;
}

void TFormMeteoAPRS::FormClose() {
    Rect bounds = form.bounds();
    bounds.height = rememberedHeight_;
    form.setBounds(bounds);
    storedHeight = rememberedHeight_;
    WebSourceWindow::FormClose();
}

AprsReadParameters TFormMeteoAPRS::readParameters() const {
    AprsReadParameters p;
    p.units.speed = RadioButtonKM.checked()     ? AprsSpeedUnit::Kmh
                    : RadioButtonKnot.checked() ? AprsSpeedUnit::Knot
                                                : AprsSpeedUnit::Mph;
    p.units.temperature = RadioButtonDegF.checked() ? AprsTemperatureUnit::Fahrenheit : AprsTemperatureUnit::Celsius;
    p.units.rain = RadioButtonInch.checked() ? AprsRainUnit::HundredthInch : AprsRainUnit::Millimetre;
    p.pressureOffset = reading_.pressureOffset;
    p.timeBase = ComboBoxTU.itemIndex() == 0 ? AprsTimeBase::Utc : AprsTimeBase::Local;
    p.biasMinutes = context_.desktop.timeZoneBiasMinutes();
    p.observedAt = reading_.observedAt;
    p.fileWriteTime = lastWriteTime(reading_.locator);
    return p;
}

void TFormMeteoAPRS::TimerMeteoTimer() {
    blackCaptions({&CheckBoxText, &CheckBoxPatm, &CheckBoxVent, &CheckBoxRafa, &CheckBoxDire, &CheckBoxTRes,
                   &CheckBoxPluie, &CheckBoxHumiExt});
    TimerMeteo.stop();
    reading_.pressureOffset = SpinEditOffSetPression.value();
    const std::string& address = EditDat.text();
    if (isWebAddress(address)) {
        submit(true);
    } else if (address != reading_.locator && fileExists(address)) {
        // A file put in the field by a favourite or the history is read, not the one before it.
        acceptLocator(address);
    }

    const auto file = fileExists(reading_.locator) ? readFile(reading_.locator) : std::nullopt;
    const auto decoded = file ? decodeAprsFile(*file, readParameters()) : std::nullopt;
    if (decoded) {
        decoded->storeInto(reading_);
        showFigures(*decoded);
        colourFigures();
        writeExport(kAprsBeaconFileName, aprsBeaconFileBytes(decoded->beaconLine), true);
    }
    if (FetchError == 0) startTimerIfStopped();
}

void TFormMeteoAPRS::showFigures(const AprsReading& r) {
    showFigure(CheckBoxRafa, kGustFigure, r.gustSpeed, r.hasGustSpeed);
    showFigure(CheckBoxText, kTempExtFigure, r.tempExt, r.hasTempExt);
    showFigure(CheckBoxPluie, kRainFigure, r.rain24h, r.hasRain24h);
    showFigure(CheckBoxHumiExt, kHumidityExtFigure, r.humidityExt, r.hasHumidityExt);
    showFigure(CheckBoxPatm, kPressureFigure, r.pressure, r.hasPressure);
    showFigure(CheckBoxVent, kWindFigure, r.windSpeed, r.hasWindSpeed);
    CheckBoxDire.setCaption("Direction (°) = " +
                            (r.hasWindDirection ? std::to_string(r.windDirection) : std::string("--")));
    showFigure(CheckBoxTRes, kFeelsLikeFigure, r.feelsLike, r.hasFeelsLike);
    showFigure(LabelTros, kDewPointFigure, r.dewPoint.value_or(reading_.dewPoint), r.dewPoint.has_value());
    if (r.forceLocalTime) ComboBoxTU.setItemIndex(1);
    if (r.dateText) Editdatemeteo.setText(*r.dateText);
}

}  // namespace tintal
