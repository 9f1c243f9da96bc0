// "Choix Station Météo": one radio button per weather source.
#include "ui/win32/weather_windows.h"
#include "ui/win32/window_frame.h"
#include "weather/tform_choix_meteo.h"

namespace tintal {

HWND createWeatherChooserWindow(TFormChoixMeteo& chooser, HWND owner) {
    const WindowFrame frame = createWindowFrame(chooser.form, owner);
    ControlBinder& b = frame.binder;
    b.groupBox(chooser.GroupBoxStations.caption(), box(8, 6, 276, 206));
    int y = 26;
    for (int k = 0; k <= static_cast<int>(WeatherSourceKind::PIOUPIOU); ++k) {
        b.radioButton(chooser.button(static_cast<WeatherSourceKind>(k)), box(20, y, 256, 20));
        y += 22;
    }
    return frame.hwnd;
}

}  // namespace tintal
