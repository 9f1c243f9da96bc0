// Any bytes the publisher's address may answer with: the version found stays inside the file's text
// and its value within what three digits can make.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "shell/version_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tintal;
    const std::string version = versionFor(std::span<const std::uint8_t>(data, size), "tintal");
    // Bytes past 0x7F take up to three bytes each in UTF-8.
    if (version.size() > 3 * size) std::abort();
    const int value = VersionValue(version);
    if (value < 0 || value > 999) std::abort();
    return 0;
}
