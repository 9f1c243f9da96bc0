#include "app/posix_preview.h"
#include "platform/posix/posix_event_loop.h"
#include "shell/tintal_program.h"
