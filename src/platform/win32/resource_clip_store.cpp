#include "platform/win32/resource_clip_store.h"

#include <windows.h>

#include <string>

namespace tintal {

std::optional<std::span<const std::uint8_t>> ResourceClipStore::find(std::string_view name) const {
    if (name.empty()) return std::nullopt;
    const std::string key(name);  // resource names are matched without regard to case
    HRSRC info = FindResourceExA(nullptr, "WAVE", key.c_str(), MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH));
    if (!info) return std::nullopt;
    HGLOBAL handle = LoadResource(nullptr, info);
    const void* bytes = handle ? LockResource(handle) : nullptr;
    if (!bytes) return std::nullopt;
    // Resources stay mapped for the life of the program; nothing to release.
    return std::span(static_cast<const std::uint8_t*>(bytes), SizeofResource(nullptr, info));
}

}  // namespace tintal
