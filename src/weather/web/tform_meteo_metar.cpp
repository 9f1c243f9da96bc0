#include "weather/web/tform_meteo_metar.h"

namespace tintal {

namespace {

constexpr const char* kNoLabel = "====================";
constexpr std::size_t kLabelLength = 500;

}  // namespace

TFormMeteoMETAR::TFormMeteoMETAR(WebSourceContext context)
    : WebSourceWindow(std::move(context), WeatherSourceKind::METAR,
                      WebFetchRules{kMetarWebFileName, '<', 1000, "Erreur fichier #", 102}, "TFormMeteoMETAR",
                      "Météo METAR", 0) {
    LabelHistoryFile.setCaption("URL site METAR");
    CheckBoxPluie.setCaption("Précipitations =");
    EditDat.onChange = [this] { EditDatChange(); };
}

void TFormMeteoMETAR::EditDatChange() {
    const std::string& address = EditDat.text();
    const auto label = address.find(" //");
    LabelNomICAO.setCaption(label == std::string::npos ? kNoLabel : address.substr(label + 3, kLabelLength));
}

void TFormMeteoMETAR::FormShow() {
    WebSourceWindow::FormShow();
    EditDatChange();
}

void TFormMeteoMETAR::submit(bool fromRead) {
    const std::string address = EditDat.text();
    if (address.empty()) return;
    if (!isWebAddress(address)) return submissionFailed();
    FetchError = 0;
    removeFile(kMetarWebFileName);
    context_.downloader.purgeCacheEntry(address);
    try {
        FetchAndCheck(address, kMetarWebFileName);
    } catch (const std::exception&) {
        if (FetchError == 0) FetchError = 1;
    }
    if (FetchError != 0) return submissionFailed();
    StaticTextErreur.setCaption("");
    resetCaptions("Humi.ext (%) =", "Précipitations =");
    submissionAccepted(address, fromRead);
}

int TFormMeteoMETAR::extractPage() {
    return extractWorkingFile([this](const std::string& page, std::string& kept) {
        const MetarPageLine cut = extractMetarLine(page, EditDat.text());
        kept = cut.line + "\r\n";
        return static_cast<int>(cut.error);
    });
}

void TFormMeteoMETAR::TimerMeteoTimer() {
    blackCaptions(
        {&CheckBoxText, &CheckBoxPatm, &CheckBoxVent, &CheckBoxRafa, &CheckBoxDire, &CheckBoxTRes, &CheckBoxPluie});
    TimerMeteo.stop();
    reading_.pressureOffset = SpinEditOffSetPression.value();
    if (isWebAddress(EditDat.text())) submit(true);

    const auto file = fileExists(reading_.locator) ? readFile(reading_.locator) : std::nullopt;
    const auto report = file ? metarReportLine(*file) : std::nullopt;
    if (report) {
        const MetarGroups groups =
            decodeMetarReport(*report, context_.loop.localNow(), context_.desktop.timeZoneBiasMinutes());
        const MetarFigures figures = metarFigures(groups, reading_.pressureOffset, showsValue(CheckBoxPluie));
        showFigures(groups, figures);
        colourFigures();
        writeExport(kMetarUiViewFileName, metarUiViewFile(timeStampLine_, metarUiViewLine(groups, figures)), false);
        writeExport(kMetarBeaconFileName, metarBeaconFile(metarBeaconLine(groups, figures)), true);
    }
    if (FetchError == 0) startTimerIfStopped();
}

void TFormMeteoMETAR::showFigures(const MetarGroups& g, const MetarFigures& f) {
    LabelICAO.setCaption("Code aérodrome = " + g.station);
    if (g.time) {
        reading_.observedAt = g.time->observedAt;
        Editdatemeteo.setText(dateFieldText(ComboBoxTU.itemIndex() == 1 ? g.time->observedAt : g.time->utc));
        timeStampLine_ = g.time->timeStampLine;
    } else if (g.timeGroupRejected) {
        Editdatemeteo.setText("");
    }
    showFigure(CheckBoxRafa, kGustFigure, f.gustSpeed, f.gustShown);
    showFigure(CheckBoxText, kTempExtFigure, f.tempExt, f.tempShown);
    showFigure(CheckBoxPatm, kPressureFigure, f.pressure, f.pressureShown);
    showFigure(CheckBoxVent, kWindFigure, f.windSpeed, f.windShown);
    reading_.windDirection = f.windDirection;
    CheckBoxDire.setCaption("Direction (°) = " + (f.windDirection == kVariableDirection ? std::string("variable")
                                                  : f.windDirection == kNoDirection     ? std::string("--")
                                                                                    : std::to_string(f.windDirection)));
    showFigure(CheckBoxTRes, kFeelsLikeFigure, f.feelsLike, f.feelsLikeShown);
    showFigure(LabelTros, kDewPointFigure, f.dewPoint.value_or(reading_.dewPoint), f.dewPoint.has_value());
    reading_.presentWeather = f.presentWeather;
    if (f.precipitationCaption) CheckBoxPluie.setCaption(*f.precipitationCaption);
    showFigure(CheckBoxHumiExt, kHumidityExtFigure, f.humidityExt, f.humidityShown);
}

}  // namespace tintal
