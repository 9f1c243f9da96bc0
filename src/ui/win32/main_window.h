#pragma once
// The main window "Tintal": clock fields, listen button, period, announcement content, sound files,
// radio indicators, the menus and the notification-area icon.
#include <windows.h>

#include <functional>

namespace tintal {

class TintalProgram;

// Creates the window (hidden until the model shows it) and adds the notification-area icon.
// onCloseRequested runs when the window is asked to close (close box, "Quitter").
HWND createMainWindow(TintalProgram& program, std::function<void()> onCloseRequested);

}  // namespace tintal
