#include "app/win32_weather.h"

#include "radio/serial_port_list.h"
#include "ui/win32/weather_windows.h"

namespace tintal {

Win32Weather::Win32Weather(EventLoop& loop, Desktop& desktop, std::function<bool()> announcing,
                           std::function<std::string()> clockText)
    : loop_(loop),
      desktop_(desktop),
      mon({loop, desktop, library_, [this] { return chooser.isChecked(WeatherSourceKind::MON); },
           [this] { chooser.form.setVisible(false); }, std::move(announcing),
           [this] { return buildPortList(serialPorts_.portNames()); }, std::move(clockText)}),
      w23(fileContext(WeatherSourceKind::W23)),
      w28(fileContext(WeatherSourceKind::W28)),
      pro2(fileContext(WeatherSourceKind::PRO2)) {
    for (WeatherSource* source : sources()) chooser.attach(*source);
    mon.FormCreate();
}

SourceWindowContext Win32Weather::fileContext(WeatherSourceKind kind) {
    return {loop_, desktop_, files_, threshold_, [this, kind] { return chooser.isChecked(kind); },
            // Hidden without its close handler: closing the chooser re-selects, showing a source does not.
            [this] { chooser.form.setVisible(false); }};
}

void Win32Weather::createWindows(HWND owner) {
    createChoixMeteoWindow(chooser, owner);
    createMeteoMonWindow(mon, owner);
    createMeteoW23Window(w23, owner);
    createMeteoW28Window(w28, owner);
    createMeteoPro2Window(pro2, owner);
}

void Win32Weather::showChooser(const Rect& mainWindow) {
    for (Window* window : {&mon.form, &w23.form, &w28.form, &pro2.form}) window->hide();
    chooser.FormShow(mainWindow);
}

}  // namespace tintal
