#pragma once
// The window "Météo APRS".
#include <windows.h>

namespace tintal {

class TFormMeteoAPRS;

// Creates the window, hidden until the model shows it; it lives as long as the program.
HWND createAprsWindow(TFormMeteoAPRS& form);

}  // namespace tintal
