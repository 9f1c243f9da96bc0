#pragma once
// The sample bytes of WAV files and of the program's clips, to compare renders with.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/posix/embedded_clip_store.h"

namespace tintal {

inline std::uint32_t le32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24);
}

// The sample data of a WAV file's "data" chunk (empty when there is none).
inline std::vector<std::uint8_t> dataChunk(const std::uint8_t* p, std::size_t size) {
    for (std::size_t i = 12; i + 8 <= size; i += 8 + le32(p + i + 4) + (le32(p + i + 4) & 1)) {
        if (std::memcmp(p + i, "data", 4) == 0)
            return std::vector<std::uint8_t>(p + i + 8, p + i + 8 + le32(p + i + 4));
    }
    return {};
}

inline std::vector<std::uint8_t> clipSamples(const std::string& name) {
    const auto clip = EmbeddedClipStore().find(name);
    if (!clip) return {};
    return dataChunk(clip->data(), clip->size());
}

}  // namespace tintal
