// "Meteo Vantage Pro2": the monthly archive source, with its month follow-up.
#include "ui/win32/file_source_layout.h"
#include "ui/win32/weather_windows.h"
#include "weather/stations/tform_meteo_pro2.h"

namespace tintal {

HWND createVantagePro2Window(TFormMeteoPro2& w, HWND owner) {
    const WindowFrame frame =
        createFileSourceFrame(w, owner, w.LabelFichier.caption(), "Recalage", &w.GroupBoxPression, 80);
    HWND followUp = frame.binder.tickBox(w.CheckBoxFichier, box(250, kFileSourceExtrasTop + 20, 220, 36));
    SetWindowLongPtrW(followUp, GWL_STYLE, GetWindowLongPtrW(followUp, GWL_STYLE) | BS_MULTILINE);
    return frame.hwnd;
}

}  // namespace tintal
