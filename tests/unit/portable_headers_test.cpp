// The portable folders must build anywhere: no operating-system header may appear there.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace {

TEST(PortableFolders, IncludeNoOperatingSystemHeader) {
    namespace fs = std::filesystem;
    const fs::path src = fs::path(TINTAL_SOURCE_DIR) / "src";
    const std::regex osHeader(
        R"(^\s*#\s*include\s*[<"](windows\.h|winsock2?\.h|mmsystem\.h|wininet\.h|shellapi\.h|unistd\.h|fcntl\.h|termios\.h|poll\.h|pthread\.h|dlfcn\.h|alsa/.*|curl/.*|sys/.*|linux/.*))",
        std::regex::icase);
    int files = 0;
    const auto check = [&](const fs::path& file) {
        ++files;
        std::ifstream in(file);
        std::string line;
        for (int n = 1; std::getline(in, line); ++n) {
            EXPECT_FALSE(std::regex_search(line, osHeader)) << file << ':' << n << ": " << line;
        }
    };
    for (const char* dir : {"base", "widgets", "core", "config", "shell", "weather", "radio"}) {
        if (!fs::exists(src / dir)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(src / dir)) {
            if (entry.is_regular_file()) check(entry.path());
        }
    }
    // platform/ holds the ports beside the adapter folders win32/ and posix/.
    for (const auto& entry : fs::directory_iterator(src / "platform")) {
        if (entry.is_regular_file()) check(entry.path());
    }
    EXPECT_GT(files, 20);
}

}  // namespace
