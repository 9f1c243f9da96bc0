#pragma once
// A top-level window for one window model: created hidden, shown, hidden and placed as the model says;
// its close box hides it through the model, so the model's close handler runs.
#include <windows.h>

#include <vector>

#include "ui/win32/control_binding.h"
#include "widgets/window.h"

namespace tintal {

struct WindowFrame {
    HWND hwnd;
    ControlBinder& binder;  // owned by the window, destroyed with it
    HFONT italicFont;       // for the red error texts
};

// owner: the main window, which the frame stays above.
WindowFrame createWindowFrame(Window& model, HWND owner);

// The panel "Cocher pour synthèse vocale": its title, then one tick box per figure from `top`, `step`
// apart. Returns the top of the row after the last box.
int bindAnnouncePanel(ControlBinder& binder, const std::vector<TickBox*>& figures, int top, int width, int step);

}  // namespace tintal
