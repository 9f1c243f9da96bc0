#pragma once
// The main window "Tintal": clock fields, listen button, period, announcement content, menus.
#include <windows.h>

#include <functional>

namespace tintal {

class TForm1;

// Creates the window (hidden until the model shows it). onCloseRequested runs when the user closes it;
// onChooseWeather when the user asks for the weather chooser ("Choix météo").
HWND createMainWindow(TForm1& form, std::function<void()> onCloseRequested, std::function<void()> onChooseWeather = {});

}  // namespace tintal
