#pragma once
#include "platform/clip_store.h"

namespace tintal {

// The clips compiled into the program (the build's generated table).
class EmbeddedClipStore : public ClipStore {
public:
    std::optional<std::span<const std::uint8_t>> find(std::string_view name) const override;
    static int count();
};

}  // namespace tintal
