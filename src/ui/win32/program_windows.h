#pragma once
// Every window of the program besides the main one, created hidden and owned by the main window.
#include <windows.h>

namespace tintal {

class TintalProgram;

void createProgramWindows(TintalProgram& program, HWND main);

}  // namespace tintal
