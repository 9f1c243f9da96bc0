#pragma once
// Resource numbers shared by the resource script and the windows.
#define IDI_TINTAL 1
#define IDI_TINTAL_OFF 2
