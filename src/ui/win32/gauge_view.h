#pragma once
// A vertical bar gauge drawn by the program itself: a green bar rising from the bottom over a red
// background, whatever the visual style (a themed progress bar would ignore the colours).
#include <windows.h>

#include "widgets/spin_box.h"

namespace tintal {

// A gauge following the spin box's value within its range; r is in the 96 DPI layout.
HWND createGauge(HWND parent, RECT r, SpinBox& gauge);

}  // namespace tintal
