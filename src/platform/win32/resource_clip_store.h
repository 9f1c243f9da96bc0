#pragma once
#include "platform/clip_store.h"

namespace tintal {

// The clips carried as resources of type "WAVE", language French (France), of the running program.
class ResourceClipStore : public ClipStore {
public:
    std::optional<std::span<const std::uint8_t>> find(std::string_view name) const override;
};

}  // namespace tintal
