#pragma once
// Screen scale and top-level window placement shared by every window of the program.
//
// Layouts and stored window sizes are in pixels of a 96 DPI screen; they are scaled to the screen's
// DPI, read once at start (the DPI of the primary monitor).
#include <windows.h>

#include "widgets/window.h"

namespace tintal {

int screenDpi();
int dpiScaled(int pixels96);
int dpiUnscaled(int pixels);
RECT dpiScaled(RECT r96);

// What a view last did to its window, so that it acts only on what the model changed since: a window the
// user moved stays where it is until the model is given other bounds.
struct Placement {
    Rect placed{};
    unsigned frontRequests = 0;
};

// A top-level window for the model, hidden, at the model's place and scaled size.
HWND createTopWindow(DWORD exStyle, const wchar_t* className, const Window& model, DWORD style, HWND owner,
                     Placement& placement);

// Places, shows or hides the window as its model says. A new show() request of the model brings the
// window to the front, restored if it was minimised.
void placeWindow(HWND hwnd, const Window& model, Placement& placement);

// The model's bounds after the user moved or sized the window.
Rect modelBoundsOf(HWND hwnd);

}  // namespace tintal
