#pragma once
// The window "Météo Pioupiou".
#include <windows.h>

namespace tintal {

class TFormMeteoPIU;

// Creates the window, hidden until the model shows it; it lives as long as the program.
HWND createPioupiouWindow(TFormMeteoPIU& form);

}  // namespace tintal
