// "Meteo WS-2310 / 2315 / 2355+": the WS-2300 history-file source.
#include "ui/win32/file_source_layout.h"
#include "ui/win32/weather_windows.h"
#include "weather/stations/tform_meteo_w23.h"

namespace tintal {

HWND createWs2300Window(TFormMeteoW23& w, HWND owner) {
    return createFileSourceFrame(w, owner, "Fichier history.dat :", "Recalage pression").hwnd;
}

}  // namespace tintal
