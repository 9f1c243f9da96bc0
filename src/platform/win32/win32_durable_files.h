#pragma once
#include "platform/durable_files.h"

namespace tintal {

// WriteFile and FlushFileBuffers, then MoveFileEx with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH
// after clearing the read-only attribute of the file it replaces.
class Win32DurableFiles : public DurableFiles {
public:
    bool exists(const std::string& path) override;
    std::optional<std::vector<std::uint8_t>> read(const std::string& path) override;
    Outcome replace(const std::string& path, const std::string& tempPath, std::span<const std::uint8_t> bytes,
                    bool readOnly) override;
};

}  // namespace tintal
