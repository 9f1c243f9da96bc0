#pragma once
// The settings file as text: 8-bit Windows-1252 lines, each ending with CR LF, the first a title
// line "[TINTAL Vx.y.z]" that the reader skips (it holds no "=").
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tintal {

// The file's lines in UTF-8. CR LF, a lone LF or a lone CR ends a line; a last line without an end
// still counts.
std::vector<std::string> splitSettingsLines(std::span<const std::uint8_t> bytes);
// The file's bytes for UTF-8 lines: each in Windows-1252 and followed by CR LF.
std::vector<std::uint8_t> joinSettingsLines(const std::vector<std::string>& lines);

std::string settingsTitleLine(std::string_view programVersion);

// An entry line split at its first "=": the key with its "=" kept ("PERIOD="), and the value, untrimmed.
// nullopt for a line without "=" or starting with it.
struct SettingsEntry {
    std::string keyWithEquals;
    std::string value;
};
std::optional<SettingsEntry> splitSettingsEntry(std::string_view line);

}  // namespace tintal
