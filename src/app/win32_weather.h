#pragma once
// The weather side of the Windows program: the source chooser, the station sources, their windows.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/win32/win32_serial_lines.h"
#include "platform/win32/win32_station_library.h"
#include "weather/stations/tform_meteo.h"
#include "weather/stations/tform_meteo_pro2.h"
#include "weather/stations/tform_meteo_w23.h"
#include "weather/stations/tform_meteo_w28.h"
#include "weather/tform_choix_meteo.h"

namespace tintal {

class Win32Weather {
public:
    // announcing: an announcement is playing; clockText: the main window's clock field.
    Win32Weather(EventLoop& loop, Desktop& desktop, std::function<bool()> announcing,
                 std::function<std::string()> clockText);

    std::vector<WeatherSource*> sources() { return {&mon, &w23, &w28, &pro2}; }
    // Creates every window, hidden, owned by the main window.
    void createWindows(HWND owner);
    // "Choix météo": every source window hides, then the chooser shows, centred on the main window.
    void showChooser(const Rect& mainWindow);
    // At program end: the station port closes if its link is up.
    void close() { mon.closePort(); }

private:
    SourceWindowContext fileContext(WeatherSourceKind kind);

    EventLoop& loop_;
    Desktop& desktop_;
    StdFiles files_;
    Win32StationLibrary library_;
    Win32SerialLines serialPorts_;
    SharedTrendThreshold threshold_;

public:
    TFormChoixMeteo chooser;
    TFormMeteo mon;
    TFormMeteoW23 w23;
    TFormMeteoW28 w28;
    TFormMeteoPro2 pro2;
};

}  // namespace tintal
