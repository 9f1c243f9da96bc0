#include "platform/files.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/file_path.h"

namespace tintal {

bool StdFiles::exists(const std::string& path) {
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(fsPath(path), error);
}

std::optional<std::vector<std::uint8_t>> StdFiles::readShared(const std::string& path) {
    std::fstream file(fsPath(path), std::ios::in | std::ios::out | std::ios::binary);
    if (!file) return std::nullopt;
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) return std::nullopt;
    return bytes;
}

}  // namespace tintal
