#include "platform/files.h"

#include <algorithm>
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

std::optional<std::uint64_t> fileSize(const std::string& utf8Path) {
    if (!isReadableFile(utf8Path)) return std::nullopt;
    std::error_code error;
    const auto size = std::filesystem::file_size(fsPath(utf8Path), error);
    if (error) return std::nullopt;
    return size;
}

std::vector<std::string> folderEntries(const std::string& utf8Folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(fsPath(utf8Folder), error), end; !error && it != end;
         it.increment(error)) {
        names.push_back(utf8Text(it->path().filename()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool StdFiles::exists(const std::string& path) { return isReadableFile(path); }

bool StdFiles::canRead(const std::string& path) {
    return isReadableFile(path) && std::ifstream(fsPath(path), std::ios::binary).is_open();
}

bool StdFiles::isFolder(const std::string& path) {
    std::error_code ignored;
    return !path.empty() && std::filesystem::is_directory(fsPath(path), ignored);
}

std::optional<std::vector<std::uint8_t>> StdFiles::read(const std::string& path) { return readWholeFile(path); }

std::optional<std::vector<std::uint8_t>> StdFiles::readShared(const std::string& path) {
    if (!isReadableFile(path)) return std::nullopt;
    std::fstream file(fsPath(path), std::ios::in | std::ios::out | std::ios::binary);
    if (!file) return readWholeFile(path);
    return readAll(file);
}

bool StdFiles::write(const std::string& path, std::string_view bytes) {
    remove(path);
    std::ofstream file(fsPath(path), std::ios::binary);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return !file.fail();
}

void StdFiles::remove(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove(fsPath(path), ignored);
}

std::optional<std::chrono::system_clock::time_point> StdFiles::modifiedAt(const std::string& path) {
    std::error_code error;
    const auto written = std::filesystem::last_write_time(fsPath(path), error);
    if (error) return std::nullopt;
    return std::chrono::time_point_cast<std::chrono::system_clock::duration>(std::chrono::file_clock::to_sys(written));
}

}  // namespace tintal
