#pragma once
// The whole program over its ports: every window model, created in start-up order and wired together,
// the settings file and the log. The Windows program adds views on top; the Linux clock runs it bare.
#include <functional>
#include <string>

#include "config/settings_file.h"
#include "core/tform1.h"
#include "platform/autostart.h"
#include "platform/durable_files.h"
#include "platform/files.h"
#include "platform/station_library.h"
#include "radio/radio_station.h"
#include "shell/main_shell.h"
#include "shell/tform_info.h"
#include "shell/tintal_log.h"
#include "shell/tintal_settings.h"
#include "weather/file_source_window.h"
#include "weather/stations/tform_meteo.h"
#include "weather/stations/tform_meteo_pro2.h"
#include "weather/stations/tform_meteo_w23.h"
#include "weather/stations/tform_meteo_w28.h"
#include "weather/tform_choix_meteo.h"
#include "weather/web/web_sources.h"

namespace tintal {

struct ProgramPorts {
    EventLoop& loop;
    Desktop& desktop;
    ClipPlayer& player;
    AudioDevice& audio;
    StationLibrary& stationLibrary;
    SerialLines& serialLines;
    CompanionChannel& companion;
    RecorderLink& recorder;
    Downloader& downloader;
    DurableFiles& durableFiles;
    Autostart& autostart;
    std::string workingFolder;  // where the settings, the log and the working files live ("" = current)
    std::string exportFolder;   // the web sources' exports for other programs ("" = none)
};

// The radio side with the hourly Weather Monitor II record of the log.
class ProgramHooks : public RadioStation {
public:
    ProgramHooks(RadioPorts ports, TFormMeteo& monitor, TintalLog& log, EventLoop& loop)
        : RadioStation(ports), monitor_(monitor), log_(log), loop_(loop) {}
    bool hourlyLogWanted() override { return monitor_.hourlyLogWanted(); }
    void writeHourlyLog() override { log_.AddLogLine(monitor_.hourlyLogLine(), loop_.localNow()); }

private:
    TFormMeteo& monitor_;
    TintalLog& log_;
    EventLoop& loop_;
};

class TintalProgram {
public:
    explicit TintalProgram(ProgramPorts ports);

    // What start-up does once the windows exist: the main window's creation (the clock starts; its first
    // tick loads the settings).
    void start();
    // The main window closes: settings saved, station port closed, sound device released, companion
    // link closed, lines released, the warning beep back on.
    void close();

    // Quitting from a menu: the program's view closes its main window (which calls close()).
    std::function<void()> onCloseRequested;

    ProgramPorts ports;
    StdFiles files;
    SharedTrendThreshold threshold;
    SettingsFile settingsFile;
    TintalLog log;
    TFormChoixMeteo chooser;
    TFormMeteo mon;
    TFormMeteoW23 w23;
    TFormMeteoW28 w28;
    TFormMeteoPro2 pro2;
    WebSources web;
    ProgramHooks radio;
    TForm1 form;
    TFormInfo info;
    MainShell shell;
    TintalSettings settings;

private:
    SourceWindowContext fileContext(WeatherSourceKind kind);
    std::string inFolder(const std::string& name) const;
    ShellActions shellActions();
    SettingsWindows settingsWindows();
};

}  // namespace tintal
