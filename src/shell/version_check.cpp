#include "shell/version_check.h"

#include <algorithm>

#include "config/settings_text.h"

namespace tintal {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

int VersionValue(std::string_view version) {
    int value = 0;
    int weight = 100;
    for (int part = 0; part < 3 && !version.empty(); ++part, weight /= 10) {
        if (version.front() != '.') {
            if (!isDigit(version.front())) return value;
            value += weight * (version.front() - '0');
        }
        const std::size_t dot = version.find('.');
        if (dot == std::string_view::npos) break;
        version.remove_prefix(dot + 1);
    }
    return value;
}

std::string versionFor(std::span<const std::uint8_t> file, std::string_view name) {
    const std::span<const std::uint8_t> head = file.first(std::min<std::size_t>(3, file.size()));
    if (std::find(head.begin(), head.end(), '<') != head.end()) return {};
    const std::string key = std::string(name) + "=";
    for (const std::string& line : splitSettingsLines(file)) {
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos || equals < 2) continue;
        if (line.compare(0, equals + 1, key) == 0) return line.substr(equals + 1);
    }
    return {};
}

}  // namespace tintal
