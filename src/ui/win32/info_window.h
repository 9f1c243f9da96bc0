#pragma once
// The info window "Info": title, version, publisher, link and the new-version button.
#include <windows.h>

namespace tintal {

class TFormInfo;

HWND createInfoWindow(TFormInfo& info, HWND owner);

}  // namespace tintal
