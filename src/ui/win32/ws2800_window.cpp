// "Meteo WS-2800 / 3610+": the WS-2800 history-file source, with its choice of pressure.
#include "ui/win32/file_source_layout.h"
#include "ui/win32/weather_windows.h"
#include "weather/stations/tform_meteo_w28.h"

namespace tintal {

HWND createWs2800Window(TFormMeteoW28& w, HWND owner) {
    const WindowFrame frame =
        createFileSourceFrame(w, owner, w.LabelFichier.caption(), "Recalage", &w.GroupBoxPression, 140);
    frame.binder.radioButtons({&w.RadioButtonPABS, &w.RadioButtonPREL}, box(256, kFileSourceExtrasTop, 100, 20), 24);
    return frame.hwnd;
}

}  // namespace tintal
