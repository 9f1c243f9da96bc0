#include "core/clock.h"
#include "platform/event_loop.h"
#include "shell/tintal_log.h"
