#pragma once
// The window "Port COM": the port list and the lines in use.
#include <windows.h>

namespace tintal {

class TFormCOM;

HWND createComWindow(TFormCOM& com, HWND owner);

}  // namespace tintal
