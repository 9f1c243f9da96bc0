#pragma once
// The windows of the web sources: "Météo METAR", "Météo APRS" and "Météo Pioupiou". Each is created
// hidden, shown and hidden by its model, and lives as long as the program.
#include <windows.h>

namespace tintal {

class TFormMeteoAPRS;
class TFormMeteoMETAR;
class TFormMeteoPIU;

HWND createMetarWindow(TFormMeteoMETAR& form);
HWND createAprsWindow(TFormMeteoAPRS& form);
HWND createPioupiouWindow(TFormMeteoPIU& form);

}  // namespace tintal
