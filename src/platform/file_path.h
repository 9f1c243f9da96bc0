#pragma once
// The one conversion from the program's UTF-8 path texts to the system's paths, for every file it opens.
// On Windows this gives the wide path: a narrow one would pass through the ANSI code page and lose any
// character outside it ("é" in "C:\Temp\Météo" under a non-Latin code page, and more). On Linux the bytes
// stay as they are.
#include <filesystem>
#include <string>
#include <string_view>

namespace tintal {

inline std::filesystem::path fsPath(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// The path back as UTF-8 text.
inline std::string utf8Text(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// A name within a folder, both UTF-8, joined with the system's separator.
inline std::string pathIn(std::string_view utf8Folder, std::string_view utf8Name) {
    return utf8Text(fsPath(utf8Folder) / fsPath(utf8Name));
}

}  // namespace tintal
