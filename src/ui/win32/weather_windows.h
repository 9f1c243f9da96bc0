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

HWND createChoixMeteoWindow(TFormChoixMeteo& chooser, HWND owner);
HWND createMeteoMonWindow(TFormMeteo& window, HWND owner);
HWND createMeteoW23Window(TFormMeteoW23& window, HWND owner);
HWND createMeteoW28Window(TFormMeteoW28& window, HWND owner);
HWND createMeteoPro2Window(TFormMeteoPro2& window, HWND owner);

}  // namespace tintal
