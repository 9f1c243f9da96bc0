#include "platform/posix/program_files.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/file_path.h"

namespace tintal {

std::string programFolder() {
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : utf8Text(exe.parent_path());
}

std::optional<std::string> enterFolder(const std::string& folder, std::string& error) {
    std::error_code made;
    std::filesystem::create_directories(fsPath(folder), made);
    if (made || chdir(folder.c_str()) != 0) {
        error = made ? made.message() : std::strerror(errno);
        return std::nullopt;
    }
    return utf8Text(std::filesystem::current_path());
}

bool makeFolder(const std::string& folder) {
    std::error_code ignored;
    std::filesystem::create_directories(fsPath(folder), ignored);
    return std::filesystem::is_directory(fsPath(folder), ignored);
}

}  // namespace tintal
