#pragma once
#include "platform/durable_files.h"

namespace tintal {

// write, fsync, rename over the old file, fsync of the folder; "read-only" is mode 0444.
class PosixDurableFiles : public DurableFiles {
public:
    bool exists(const std::string& path) override;
    std::optional<std::vector<std::uint8_t>> read(const std::string& path) override;
    Outcome replace(const std::string& path, const std::string& tempPath, std::span<const std::uint8_t> bytes,
                    bool readOnly) override;
};

}  // namespace tintal
