#include "platform/files.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/file_path.h"

namespace tintal {
namespace {

std::optional<std::vector<std::uint8_t>> readAll(std::istream& in) {
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return bytes;
}

}  // namespace

bool isReadableFile(const std::string& utf8Path) {
    std::error_code error;
    return !utf8Path.empty() && std::filesystem::is_regular_file(fsPath(utf8Path), error);
}

std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& utf8Path) {
    if (!isReadableFile(utf8Path)) return std::nullopt;
    std::ifstream file(fsPath(utf8Path), std::ios::binary);
    if (!file) return std::nullopt;
    return readAll(file);
}

bool StdFiles::exists(const std::string& path) { return isReadableFile(path); }

std::optional<std::vector<std::uint8_t>> StdFiles::readShared(const std::string& path) {
    if (!isReadableFile(path)) return std::nullopt;
    std::fstream file(fsPath(path), std::ios::in | std::ios::out | std::ios::binary);
    if (!file) return readWholeFile(path);
    return readAll(file);
}

}  // namespace tintal
