#pragma once
// The window "TINTAL" that holds the recorder program's path.
#include <windows.h>

namespace tintal {

class TFormRecord;

HWND createRecordWindow(TFormRecord& record, HWND owner);

}  // namespace tintal
