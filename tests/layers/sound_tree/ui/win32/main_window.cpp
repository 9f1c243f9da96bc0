#include <windows.h>
#include "platform/win32/win32_desktop.h"
#include "shell/main_shell.h"
#include "weather/tform_choix_meteo.h"
