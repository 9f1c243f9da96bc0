#include "platform/win32/win32_desktop.h"
#include "platform/posix/alsa_audio_device.h"
