#pragma once
// Fields of the stations' binary files, which are little-endian whatever the machine reading them.
#include <bit>
#include <cstdint>
#include <limits>

namespace tintal {

static_assert(std::numeric_limits<float>::is_iec559 && std::numeric_limits<double>::is_iec559,
              "the station files store IEEE 754 floats");

inline std::uint16_t le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
inline std::uint32_t le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
inline std::uint64_t le64(const std::uint8_t* p) { return le32(p) | static_cast<std::uint64_t>(le32(p + 4)) << 32; }
inline float leFloat(const std::uint8_t* p) { return std::bit_cast<float>(le32(p)); }
inline double leDouble(const std::uint8_t* p) { return std::bit_cast<double>(le64(p)); }

}  // namespace tintal
