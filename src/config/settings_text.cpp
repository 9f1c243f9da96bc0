#include "config/settings_text.h"

#include "base/text_encoding.h"

namespace tintal {

std::vector<std::string> splitSettingsLines(std::span<const std::uint8_t> bytes) {
    std::vector<std::string> lines;
    std::string current;
    bool pending = false;  // a line has started (even empty) and not been ended
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = static_cast<char>(bytes[i]);
        if (c == '\r' || c == '\n') {
            lines.push_back(cp1252ToUtf8(current));
            current.clear();
            pending = false;
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            continue;
        }
        current += c;
        pending = true;
    }
    if (pending) lines.push_back(cp1252ToUtf8(current));
    return lines;
}

std::vector<std::uint8_t> joinSettingsLines(const std::vector<std::string>& lines) {
    std::vector<std::uint8_t> bytes;
    for (const std::string& line : lines) {
        const std::string text = utf8ToCp1252(line);
        bytes.insert(bytes.end(), text.begin(), text.end());
        bytes.push_back('\r');
        bytes.push_back('\n');
    }
    return bytes;
}

std::string settingsTitleLine(std::string_view programVersion) {
    return "[TINTAL V" + std::string(programVersion) + "]";
}

std::optional<SettingsEntry> splitSettingsEntry(std::string_view line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || equals == 0) return std::nullopt;
    return SettingsEntry{std::string(line.substr(0, equals + 1)), std::string(line.substr(equals + 1))};
}

}  // namespace tintal
