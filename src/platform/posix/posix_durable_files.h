#pragma once
#include "platform/system_durable_files.h"

namespace tintal {

// write, fsync, rename over the old file, fsync of the folder; "read-only" is mode 0444.
using PosixDurableFiles = SystemDurableFiles;

}  // namespace tintal
