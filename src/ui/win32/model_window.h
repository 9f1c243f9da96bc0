#pragma once
// A secondary window bound to its model: shown, hidden and placed with the model's Window, its close
// box hides the model (whose close handler runs), its controls routed through a ControlBinder.
#include <windows.h>

#include <functional>

#include "ui/win32/control_binding.h"
#include "widgets/window.h"

namespace tintal {

// Creates the window (hidden until the model shows it), owned by owner; build adds the controls.
HWND createModelWindow(Window& model, HWND owner, const std::function<void(ControlBinder&)>& build);

}  // namespace tintal
