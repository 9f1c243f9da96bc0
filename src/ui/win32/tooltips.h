#pragma once
// Hints: one tooltip control per top-level window, shared by all its controls.
#include <windows.h>

#include <string>

namespace tintal {

// Shows `hint` when the mouse rests on the control; an empty hint removes it. A static control needs
// SS_NOTIFY to see the mouse.
void setControlHint(HWND control, const std::string& hint);

// The tooltip control of a window, or null while none of its controls has a hint.
HWND tooltipOf(HWND window);

}  // namespace tintal
