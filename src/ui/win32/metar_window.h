#pragma once
// The window "Météo METAR".
#include <windows.h>

namespace tintal {

class TFormMeteoMETAR;

// Creates the window, hidden until the model shows it; it lives as long as the program.
HWND createMetarWindow(TFormMeteoMETAR& form);

}  // namespace tintal
