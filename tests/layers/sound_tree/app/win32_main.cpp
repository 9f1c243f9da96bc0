#include "platform/win32/win32_event_loop.h"
#include "ui/win32/main_window.h"
