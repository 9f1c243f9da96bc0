#pragma once
// The durable files of the system the program is built for: declared once here, defined by the
// adapter of that system (platform/posix or platform/win32), which the build links alone.
#include "platform/durable_files.h"

namespace tintal {

class SystemDurableFiles : public DurableFiles {
public:
    bool exists(const std::string& path) override;
    std::optional<std::vector<std::uint8_t>> read(const std::string& path) override;
    Outcome replace(const std::string& path, const std::string& tempPath, std::span<const std::uint8_t> bytes,
                    bool readOnly) override;
};

}  // namespace tintal
