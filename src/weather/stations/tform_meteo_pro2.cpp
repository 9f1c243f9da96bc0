#include "weather/stations/tform_meteo_pro2.h"

#include "base/date_time.h"

namespace tintal {

TFormMeteoPro2::TFormMeteoPro2(SourceWindowContext context)
    : FileSourceWindow(std::move(context), WeatherSourceKind::PRO2, "TFormMeteoPro2", "Meteo Vantage Pro2",
                       "Fichier weatherlink wlk|*.wlk", "wlk") {}

std::string TFormMeteoPro2::fileToRead() {
    month.reset();
    const std::string& locator = reading_.locator;
    // A missing or misnamed file is left for the read to skip or refuse; neither looks for another month.
    if (!context_.files.exists(locator) || !hasWlkExtension(locator)) return locator;
    month = parseWlkFileName(locator);
    if (!month || !CheckBoxFichier.checked()) return locator;
    const DateTimeFields now = decodeDateTime(context_.loop.localNow());
    const auto current = wlkFollowUpPath(locator, *month, now.year, now.month);
    if (current && context_.files.exists(*current)) {
        reading_.locator = *current;
        EditDat.setText(*current);  // so the settings file keeps the newest month
        month = WlkMonth{now.year, now.month};
    }
    return reading_.locator;
}

bool TFormMeteoPro2::decodeAndShow(const std::vector<std::uint8_t>& bytes) {
    // fileToRead found no month for a wrong extension or a name stating none: that fails like an unreadable file.
    if (!month) return false;
    const VantageArchiveResult result = decodeVantageArchive(bytes, *month, reading_.pressureOffset);
    if (!result.reading) return false;
    const VantageArchiveReading& r = *result.reading;
    recordCount = r.recordCount;

    // The archive dates its own records: an older file chosen moves the observation back.
    reading_.observedAt = r.observedAt;
    showObservationDate(r.observedAt);
    showFigure(CheckBoxText, kTempExtFigure, r.tempExt);
    showFigure(CheckBoxTint, kTempIntFigure, r.tempInt);
    showFigure(CheckBoxPatm, kPressureFigure, r.pressure);
    showPressureTrend(r);

    showFigure(CheckBoxVent, kWindFigure, r.windSpeed);
    showFigure(CheckBoxRafa, kGustFigure, r.gustSpeed);
    reading_.windDirection = r.windDirection;
    CheckBoxDire.setCaption(r.windDirection == kNoDirection ? "Direction (°) = --"
                                                            : "Direction (°) = " + std::to_string(r.windDirection));

    showFigure(LabelHumInt, kHumidityIntFigure, r.humidityInt);
    showFigure(CheckBoxHumiExt, kHumidityExtFigure, r.humidityExt);

    showRain(r.rain24h >= 0 ? r.rain24h : kNoRain);
    // This station's wind chill takes the gust as its wind. The gust must then be a valid figure too:
    // the highest-wind field's no-data value would otherwise give a plausible-looking, wrong chill.
    showWindChillAndDewPoint(valid(CheckBoxRafa) ? reading_.gustSpeed : 0.0);
    return true;
}

void TFormMeteoPro2::showObservationDate(double observedAt) {
    showObservedAt(observedAt);
    // Some regional formats write no time at midnight, and the last period of a day ends exactly then.
    std::string text = Editdatemeteo.text();
    while (!text.empty() && text.back() == ' ') text.pop_back();
    const DateTimeFields at = decodeDateTime(observedAt);
    if (text.size() < 11 && at.hour == 0 && at.minute == 0) Editdatemeteo.setText(text + " 00:00");
}

void TFormMeteoPro2::showPressureTrend(const VantageArchiveReading& r) {
    // With no earlier data record the trend is Steady, and the caption says so: leaving the previous
    // "en hausse" in place would show a trend the announcement does not speak.
    showTrend(r.trendBasis == WlkTrendBasis::Compared ? std::optional<double>(r.pressureChange) : std::nullopt);
}

}  // namespace tintal
