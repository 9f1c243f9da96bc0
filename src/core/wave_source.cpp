#include "core/wave_source.h"

#include <algorithm>
#include <cstring>

namespace tintal {

std::size_t MemoryWaveSource::read(std::uint8_t* out, std::size_t n) {
    const std::size_t count = std::min<std::size_t>(n, bytes_.size() - position_);
    if (count > 0) std::memcpy(out, bytes_.data() + position_, count);
    position_ += count;
    return count;
}

}  // namespace tintal
