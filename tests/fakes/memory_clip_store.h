#pragma once
#include <map>
#include <string>
#include <vector>

#include "platform/clip_store.h"

namespace tintal {

// Clips held in memory under their names in capitals.
class MemoryClipStore : public ClipStore {
public:
    void add(const std::string& name, std::vector<std::uint8_t> bytes) {
        clips_[canonicalClipName(name)] = std::move(bytes);
    }
    std::optional<std::span<const std::uint8_t>> find(std::string_view name) const override {
        const auto it = clips_.find(canonicalClipName(name));
        if (it == clips_.end()) return std::nullopt;
        return std::span<const std::uint8_t>(it->second);
    }

private:
    std::map<std::string, std::vector<std::uint8_t>> clips_;
};

}  // namespace tintal
