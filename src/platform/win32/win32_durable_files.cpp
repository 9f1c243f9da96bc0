#include "platform/win32/win32_durable_files.h"

#include <windows.h>

#include "platform/win32/win32_text.h"

namespace tintal {

namespace {

std::string lastError(const std::string& path) { return path + ": " + systemErrorText(GetLastError()); }

// A read-only file can be neither deleted nor replaced: make it a plain archived file first.
void clearReadOnly(const std::wstring& path) { SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_ARCHIVE); }

bool writeAllAndFlush(HANDLE file, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return FlushFileBuffers(file) != 0;
}

}  // namespace

bool Win32DurableFiles::exists(const std::string& path) {
    return GetFileAttributesW(widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::vector<std::uint8_t>> Win32DurableFiles::read(const std::string& path) {
    HANDLE file = CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[65536];
    DWORD n = 0;
    bool ok = true;
    while ((ok = ReadFile(file, chunk, sizeof chunk, &n, nullptr) != 0) && n > 0)
        bytes.insert(bytes.end(), chunk, chunk + n);
    CloseHandle(file);
    if (!ok) return std::nullopt;
    return bytes;
}

DurableFiles::Outcome Win32DurableFiles::replace(const std::string& path, const std::string& tempPath,
                                                 std::span<const std::uint8_t> bytes, bool readOnly) {
    const std::wstring target = widen(path), temp = widen(tempPath);
    clearReadOnly(temp);
    if (!DeleteFileW(temp.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
        return {Step::Staging, lastError(tempPath)};
    HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_ARCHIVE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {Step::Staging, lastError(tempPath)};
    const bool written = writeAllAndFlush(file, bytes);
    const std::string writeError = written ? std::string() : lastError(tempPath);
    CloseHandle(file);
    if (!written) {
        DeleteFileW(temp.c_str());
        return {Step::Staging, writeError};
    }
    const DWORD previous = GetFileAttributesW(target.c_str());
    clearReadOnly(target);
    if (!MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const Outcome failed{Step::Replacing, lastError(path)};
        if (previous != INVALID_FILE_ATTRIBUTES) SetFileAttributesW(target.c_str(), previous);
        return failed;
    }
    if (readOnly) SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    return {};
}

}  // namespace tintal
