#include "platform/win32/win32_program_files.h"

#include <windows.h>

#include "platform/win32/win32_text.h"

namespace tintal {

void enterProgramFolder() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n == MAX_PATH) return;
    std::wstring folder(path, n);
    folder.resize(folder.find_last_of(L"\\/") + 1);
    SetCurrentDirectoryW(folder.c_str());
}

std::string makeWeatherExportFolder() {
    const std::wstring folder = L"c:\\Users\\Public\\Documents\\weather";
    for (std::size_t at = folder.find(L'\\', 3); at != std::wstring::npos; at = folder.find(L'\\', at + 1)) {
        CreateDirectoryW(folder.substr(0, at).c_str(), nullptr);
    }
    CreateDirectoryW(folder.c_str(), nullptr);
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    const bool made = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    return made ? narrow(folder) : std::string();
}

}  // namespace tintal
