#include "platform/posix/embedded_clip_store.h"

#include <cstddef>

#include "platform/clip_store.h"

namespace {

struct EmbeddedClip {
    const char* name;
    const std::uint8_t* data;
    std::size_t size;
};

}  // namespace

extern "C" const EmbeddedClip tintal_clip_table[];
extern "C" const int tintal_clip_count;

namespace tintal {

std::optional<std::span<const std::uint8_t>> EmbeddedClipStore::find(std::string_view name) const {
    const std::string wanted = canonicalClipName(name);
    for (int i = 0; i < tintal_clip_count; ++i) {
        if (wanted == tintal_clip_table[i].name) return std::span(tintal_clip_table[i].data, tintal_clip_table[i].size);
    }
    return std::nullopt;
}

int EmbeddedClipStore::count() { return tintal_clip_count; }

}  // namespace tintal
