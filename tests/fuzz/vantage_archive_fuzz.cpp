// Any bytes as a .wlk archive, under any file-name month: the decoder must never read out of bounds.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "weather/stations/vantage_archive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tintal;
    // The first bytes pick the month and double as a file name, so both parsers are exercised.
    if (size >= 2) {
        const std::string_view name(reinterpret_cast<const char*>(data), size < 24 ? size : 24);
        if (hasWlkExtension(name)) {
            if (const auto named = parseWlkFileName(name)) (void)wlkFollowUpPath(name, *named, 2024, 4);
        }
    }
    const WlkMonth month{2024, size > 0 ? data[0] % 14 : 3};
    const VantageArchiveResult result = decodeVantageArchive(std::span(data, size), month, 0.0);
    if ((result.error == WlkError::None) != result.reading.has_value()) __builtin_trap();
    return 0;
}
