// "Meteo Weather Monitor II": the live station, its port and its status line.
#include "ui/win32/weather_windows.h"
#include "ui/win32/window_frame.h"
#include "weather/stations/tform_meteo.h"

namespace tintal {

namespace {

constexpr COLORREF kPaleYellow = RGB(255, 255, 204);

}  // namespace

HWND createWeatherMonitorWindow(TFormMeteo& w, HWND owner) {
    const WindowFrame frame = createWindowFrame(w.form, owner);
    ControlBinder& b = frame.binder;
    b.label(w.LabelVersion, box(8, 12, 200, 18));
    b.button(w.ButtonPort, box(270, 8, 110, 26));
    b.label(w.StaticTextStatus, box(8, 40, 372, 20), kPaleYellow);
    const int y = bindAnnouncePanel(b, w.figureBoxes(), 90, 200, 22);
    b.tickBox(w.CheckBoxlog, box(8, y + 6, 372, 20));
    b.staticText("toutes les", box(214, 94, 66, 18));
    b.spinEdit(w.SpinEditRafraichir, box(282, 91, 44, 22));
    b.staticText("minute(s)", box(330, 94, 60, 18));
    b.button(w.ButtonRafraichir, box(214, 122, 100, 26));
    // Last, so that the list opens over its neighbours.
    b.listBox(w.ListBoxPort, box(270, 36, 110, 150));
    return frame.hwnd;
}

}  // namespace tintal
