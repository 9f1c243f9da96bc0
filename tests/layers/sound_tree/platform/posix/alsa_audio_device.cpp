#include <alsa/asoundlib.h>
#include <unistd.h>
#include "platform/posix/alsa_audio_device.h"
#include "platform/audio_device.h"
#include "base/numbers.h"
