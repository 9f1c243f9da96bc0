#include "weather/stations/tform_meteo.h"

#include <algorithm>

#include "base/numbers.h"
#include "weather/derived_figures.h"
#include "weather/figure_format.h"

namespace tintal {

namespace {

constexpr double kMillibarsPerInHg = 1.0 / 0.02952998;
constexpr double kKmhPerMph = 1.609344;
constexpr std::int32_t kDirectionMask = 0x8FFF;
constexpr double kNoWindSample = -10.0;

double celsius(double fahrenheit) { return (fahrenheit - 32.0) * 5.0 / 9.0; }

// This station's pressure is shown in whole hectopascals.
constexpr FigureFormat kWholePressureFigure{kPressureFigure.field, kPressureFigure.prefix, 0, kPressureFigure.limits};

std::string rounded(double value) { return std::to_string(roundHalfEven(value)); }

// A port list entry is "COM" and a number: the text without its first three characters, converted.
std::optional<int> portOfEntry(const std::string& entry) {
    if (entry.size() <= 3) return std::nullopt;
    return strictToInt(std::string_view(entry).substr(3));
}

}  // namespace

TFormMeteo::TFormMeteo(MonitorWindowContext context)
    : SourceWindow(context.loop, WeatherSourceKind::MON, "TFormMeteo", "Meteo Weather Monitor II",
                   Rect{240, 160, 400, 380}, context.isSelected, context.hideChooser),
      context_(std::move(context)) {
    windSamples.fill(kNoWindSample);
    ListBoxPort.setVisible(false);
    ButtonPort.setHint("Cliquer pour changer le port");
    ButtonPort.onClick = [this] { ButtonPortClick(); };
    ListBoxPort.onClick = [this] {
        if (!choosingPort_) ListBoxPortClick();
    };
    form.onShow = [this] { FormShow(); };
    figureBoxes_ = {&CheckBoxTint, &CheckBoxText, &CheckBoxPatm, &CheckBoxtend,
                    &CheckBoxVent, &CheckBoxRafa, &CheckBoxDire};
}

void TFormMeteo::FormCreate() {
    windSamples.fill(kNoWindSample);
    if (!libraryPresent()) return;
    // The settings are not loaded yet, so this is port 0: a library that opens it anyway is read at once.
    if (context_.library.OpenCommPort(comPort, kBaud) == 1) {
        reading_.linkOk = true;
        TimerMeteo.setInterval(1000);
        TimerMeteo.start();
    }
}

void TFormMeteo::select(bool showWindow) {
    if (comPort == 0) {
        if (showWindow) form.show();  // so the user can pick a port
        return;
    }
    if (showWindow) form.show();
    choosePort(comPort);
}

void TFormMeteo::choosePort(int port) {
    requestSilentPortRefill();
    ButtonPortClick();
    choosingPort_ = true;
    ListBoxPort.setItemIndex(0);
    for (int i = 1; i < ListBoxPort.count(); ++i) {
        if (portOfEntry(ListBoxPort.items()[i]) == port) ListBoxPort.setItemIndex(i);
    }
    choosingPort_ = false;
    ListBoxPortClick();
}

void TFormMeteo::ButtonPortClick() {
    ListBoxPort.clearItems();
    if (context_.portList) {
        for (const std::string& entry : context_.portList()) ListBoxPort.addItem(entry);
    }
    if (silentRefill_) {
        silentRefill_ = false;
        return;
    }
    ListBoxPort.setVisible(true);
}

void TFormMeteo::ListBoxPortClick() {
    TimerMeteo.stop();
    ListBoxPort.setVisible(false);
    context_.library.CloseCommPort();
    reading_.linkOk = false;
    const auto number = portOfEntry(ListBoxPort.selectedItem());
    // "No COM", and anything that names no port number, leaves the station unread.
    if (ListBoxPort.itemIndex() <= 0 || !number || *number <= 0) {
        comPort = 0;
        ButtonPort.setCaption("COM=0");
        form.hide();
        return;
    }
    comPort = *number;
    ButtonPort.setCaption("COM=" + std::to_string(comPort));
    if (!libraryPresent()) return;
    if (context_.library.OpenCommPort(comPort, kBaud) == 1) {
        reading_.linkOk = true;
        TimerMeteoTimer();
    } else {
        StaticTextStatus.setCaption("Erreur port COM");
    }
}

void TFormMeteo::TimerMeteoTimer() {
    TimerMeteo.stop();
    if (comPort == 0) return;
    if (context_.isAnnouncing && context_.isAnnouncing()) {
        // The library pumps messages while it talks to the station: never during an announcement.
        reading_.refreshPending = true;
        return;
    }
    // A click let through by the read's own message processing must not start a second conversation
    // with the station in the middle of the first.
    if (readRunning_) return;
    if (!libraryPresent()) return;
    readRunning_ = true;
    stoppedDuringRead_ = false;
    readStation();
    readRunning_ = false;
}

void TFormMeteo::readStation() {
    LabelVersion.setCaption("Version DLL: " +
                            formatFixed(context_.library.GetDllVersion(), 3, context_.desktop.decimalSeparator()));
    SpinEditRafraichir.setValue(refreshMinutes);
    countdown(6);
    reading_.tempInt = celsius(context_.library.GetInsideTemp());
    if (reading_.tempInt < kLowestIndoorC) {
        reading_.linkOk = false;
        StaticTextStatus.setCaption("Anomalie Weather Monitor");
        restartTimer(TimerMeteo.interval());  // the next period retries
        return;
    }
    reading_.linkOk = true;
    readFigures();
    std::string done = "Lecture Weather Monitor terminée ";
    const std::string clock = context_.clockText ? context_.clockText() : std::string();
    if (!clock.empty()) done += "(" + clock + " )";
    StaticTextStatus.setCaption(done);
    restartTimer(SpinEditRafraichir.value() * 60000);
}

void TFormMeteo::readFigures() {
    const char separator = context_.desktop.decimalSeparator();
    showFigure(CheckBoxTint, kTempIntFigure, reading_.tempInt, reading_, separator);

    countdown(5);
    showFigure(CheckBoxText, kTempExtFigure, celsius(context_.library.GetOutsideTemp()), reading_, separator);

    countdown(4);
    showFigure(CheckBoxPatm, kWholePressureFigure, context_.library.GetBarometer() * kMillibarsPerInHg, reading_,
               separator);

    countdown(3);
    const std::uint8_t trend = context_.library.GetBarometerTrend();
    // An unknown code is stored as it came (the announcement speaks only 0 to 2); the caption stays.
    reading_.pressureTrend = static_cast<PressureTrend>(static_cast<std::int8_t>(trend));
    if (trend <= 2) CheckBoxtend.setCaption(trendCaption(reading_.pressureTrend));

    countdown(2);
    reading_.windSpeed = context_.library.GetWindSpeed() * kKmhPerMph;
    storeWindSample();
    CheckBoxVent.setCaption("Vent (km/h) = " + formatFixed(reading_.windSpeed, 0, separator));
    reading_.gustSpeed = std::max(0.0, *std::max_element(windSamples.begin(), windSamples.end()));
    CheckBoxRafa.setCaption("Rafale (km/h) = " + formatFixed(reading_.gustSpeed, 0, separator));

    countdown(1);
    reading_.windDirection = context_.library.GetWindDirection() & kDirectionMask;
    CheckBoxDire.setCaption("Direction (°) = " + std::to_string(reading_.windDirection));
}

void TFormMeteo::storeWindSample() {
    // A wind outside the limits (a station fault) never reaches the ring, so it never becomes the gust.
    if (!kWindLimits.contains(reading_.windSpeed)) {
        CheckBoxVent.setColour(Colour::Red);
        return;
    }
    windSamplePosition = windSamplePosition % 10 + 1;
    windSamples[windSamplePosition - 1] = reading_.windSpeed;
    CheckBoxVent.setColour(Colour::Black);
}

void TFormMeteo::countdown(int remaining) {
    StaticTextStatus.setCaption("Lecture Weather Monitor en cours (" + std::to_string(remaining) + ")");
    context_.loop.processPending();
}

bool TFormMeteo::libraryPresent() {
    const std::string reason = context_.library.unavailableReason();
    if (reason.empty()) return true;
    reading_.linkOk = false;
    StaticTextStatus.setCaption(reason);
    return false;
}

void TFormMeteo::restartTimer(int intervalMs) {
    TimerMeteo.setInterval(intervalMs);
    if (!stoppedDuringRead_) TimerMeteo.start();
}

void TFormMeteo::stopRefresh() {
    TimerMeteo.stop();
    if (readRunning_) stoppedDuringRead_ = true;
}

void TFormMeteo::ButtonRafraichirClick() {
    TimerMeteo.setInterval(SpinEditRafraichir.value() * 60000);
    TimerMeteoTimer();
}

void TFormMeteo::SpinEditRafraichirChange() {
    SourceWindow::SpinEditRafraichirChange();
    refreshMinutes = SpinEditRafraichir.value();
}

void TFormMeteo::FormShow() { hideChooser(); }

void TFormMeteo::closePort() {
    if (reading_.linkOk) context_.library.CloseCommPort();
}

bool TFormMeteo::hourlyLogWanted() const { return selected() && CheckBoxlog.checked() && reading_.linkOk; }

std::string TFormMeteo::hourlyLogLine() const {
    return "Météo MonII Tint=" + rounded(reading_.tempInt) + " Text=" + rounded(reading_.tempExt) +
           " Patm=" + rounded(reading_.pressure) + " Vent=" + rounded(reading_.windSpeed) +
           " Rafale=" + rounded(reading_.gustSpeed) + " Direction=" + std::to_string(reading_.windDirection);
}

}  // namespace tintal
