#pragma once
// The weather windows: the source chooser and one window per station source. Each is created hidden,
// owned by the main window, and shown and hidden by its model.
#include <windows.h>

namespace tintal {

class TFormChoixMeteo;
class TFormMeteo;
class TFormMeteoW23;
class TFormMeteoW28;
class TFormMeteoPro2;

HWND createWeatherChooserWindow(TFormChoixMeteo& chooser, HWND owner);
HWND createWeatherMonitorWindow(TFormMeteo& window, HWND owner);
HWND createWs2300Window(TFormMeteoW23& window, HWND owner);
HWND createWs2800Window(TFormMeteoW28& window, HWND owner);
HWND createVantagePro2Window(TFormMeteoPro2& window, HWND owner);

}  // namespace tintal
