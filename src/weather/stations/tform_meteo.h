#pragma once
// The Davis Weather Monitor II source: a station read live over a serial port through the vendor's
// library. Its figures carry no observation time; a gust is made from the last ten wind samples.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/station_library.h"
#include "weather/source_window.h"
#include "widgets/label.h"
#include "widgets/list_box.h"

namespace tintal {

struct MonitorWindowContext {
    EventLoop& loop;
    Desktop& desktop;
    StationLibrary& library;
    // The chooser's radio button of this kind is checked.
    std::function<bool()> isSelected;
    // Hides the chooser when this window is shown.
    std::function<void()> hideChooser;
    // An announcement is playing: a read then waits for its end.
    std::function<bool()> isAnnouncing;
    // The main window's port list: "No COM", then "COMn" entries.
    std::function<std::vector<std::string>()> portList;
    // The main window's clock field, quoted when a read ends.
    std::function<std::string()> clockText;
};

class TFormMeteo : public SourceWindow {
public:
    static constexpr int kBaud = 2400;
    static constexpr double kLowestIndoorC = -60.0;  // below: the station did not really answer

    explicit TFormMeteo(MonitorWindowContext context);

    std::string errorText() const override { return {}; }  // the status line never mutes the weather
    void read() override { TimerMeteoTimer(); }
    // Shows the window; with a port configured, refills the port list silently and reopens the port.
    void select(bool showWindow) override;
    // Also holds when another source is chosen in the middle of a read: that read does not restart it.
    void stopRefresh() override;

    void FormCreate();
    void TimerMeteoTimer();
    void ButtonRafraichirClick() override;
    // Also remembered for the next read, which sets the spin box again.
    void SpinEditRafraichirChange() override;
    void ButtonPortClick();
    void ListBoxPortClick();
    void FormShow();
    // At program end: the port is closed if the link is up.
    void closePort();
    // Selects the port list entry of a port number (entry 0, "No COM", when none matches) and opens it,
    // as the chooser and the settings loader do.
    void choosePort(int port);
    // The next ButtonPortClick refills the list without showing it.
    void requestSilentPortRefill() { silentRefill_ = true; }

    // The hourly log: wanted when MON is selected, its box ticked and its link up.
    bool hourlyLogWanted() const;
    // "Météo MonII Tint=.. Text=.. Patm=.. Vent=.. Rafale=.. Direction=..", figures rounded.
    std::string hourlyLogLine() const;

    int comPort = 0;
    int refreshMinutes = 1;
    std::array<double, 10> windSamples{};
    int windSamplePosition = 0;  // 1..10 once a sample is stored

    Label LabelVersion{"LabelVersion", "Version DLL : "};
    Label StaticTextStatus{"StaticTextStatus"};
    Button ButtonPort{"ButtonPort", "COM=0"};
    ListBox ListBoxPort{"ListBoxPort"};
    TickBox CheckBoxTint{"CheckBoxTint", "T.int (°C) ="};
    TickBox CheckBoxtend{"CheckBoxtend", "Tendance = "};
    TickBox CheckBoxlog{"CheckBoxlog", "Enregistrement horaire des données météo"};

private:
    // Shows the countdown of a read and lets the window breathe while the library talks to the station.
    void countdown(int remaining);
    // False when the library is missing: the status line says so and nothing is called.
    bool libraryPresent();
    void readStation();
    void readFigures();
    void storeWindSample();
    // The refresh timer starts again after a read, unless the source was deselected meanwhile.
    void restartTimer(int intervalMs);

    MonitorWindowContext context_;
    bool silentRefill_ = false;
    bool choosingPort_ = false;
    bool readRunning_ = false;  // a read is talking to the station (and letting messages run)
    bool stoppedDuringRead_ = false;
};

}  // namespace tintal
