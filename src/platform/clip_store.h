#pragma once
// The recorded clips carried inside the program.
//
// Contract: any thread; the bytes live as long as the program.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tintal {

// Upper-cases a formed name ("Son_Heures_T" -> "SON_HEURES_T"): the form every store keeps its clips under.
std::string canonicalClipName(std::string_view name);

class ClipStore {
public:
    virtual ~ClipStore() = default;
    // The whole WAV file of a clip, looked up without regard to case; nullopt when there is none.
    virtual std::optional<std::span<const std::uint8_t>> find(std::string_view name) const = 0;
};

}  // namespace tintal
