#pragma once
#include "platform/system_durable_files.h"

namespace tintal {

// WriteFile and FlushFileBuffers, then MoveFileEx with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH
// after clearing the read-only attribute of the file it replaces.
using Win32DurableFiles = SystemDurableFiles;

}  // namespace tintal
