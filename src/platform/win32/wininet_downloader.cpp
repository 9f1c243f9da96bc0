#include "platform/win32/wininet_downloader.h"

#include <windows.h>
#include <wininet.h>

#include "platform/win32/win32_text.h"

namespace tintal {

namespace {

// The no-cache pair: the answer is not written to the cache, and the request asks proxies not to serve one.
constexpr DWORD kOpenUrlFlags = INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE;
constexpr DWORD kChunk = 1024;

[[noreturn]] void raise(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM;
    // WinInet's own codes are described by its module, not by the system table.
    HMODULE wininet = GetModuleHandleW(L"wininet.dll");
    DWORD n = FormatMessageW(flags | (wininet ? FORMAT_MESSAGE_FROM_HMODULE : 0), wininet, error, 0,
                             reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = n ? narrow(std::wstring_view(text, n)) : "Windows error " + std::to_string(error);
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
    throw DownloadError(message);
}
[[noreturn]] void raiseLast() { raise(GetLastError()); }

struct InternetHandle {
    HINTERNET h;
    ~InternetHandle() {
        if (h) InternetCloseHandle(h);
    }
};
struct FileHandle {
    HANDLE h;
    ~FileHandle() {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
};

void setTimeout(HINTERNET session, DWORD option, int ms) {
    DWORD value = static_cast<DWORD>(ms);
    InternetSetOptionW(session, option, &value, sizeof value);
}

void checkStatus(HINTERNET request) {
    DWORD status = 0, size = sizeof status;
    if (HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr) && status >= 400) {
        throw DownloadError("HTTP " + std::to_string(status));
    }
}

// The transfer loop: each chunk is written as it arrives, the whole document is never held.
void copy(HINTERNET request, HANDLE file, ULONGLONG deadline) {
    char buffer[kChunk];
    for (;;) {
        DWORD got = 0;
        if (!InternetReadFile(request, buffer, kChunk, &got)) raiseLast();
        if (got == 0) return;
        DWORD written = 0;
        if (!WriteFile(file, buffer, got, &written, nullptr)) raiseLast();
        if (GetTickCount64() > deadline) raise(ERROR_INTERNET_TIMEOUT);
    }
}

}  // namespace

void WinInetDownloader::download(const std::string& url, const std::string& path) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(timeouts_.totalMs);
    const std::wstring partial = widen(partialDownloadPath(path));
    DeleteFileW(partial.c_str());
    {
        InternetHandle session{InternetOpenA(url.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0)};
        if (!session.h) raiseLast();
        setTimeout(session.h, INTERNET_OPTION_CONNECT_TIMEOUT, timeouts_.connectMs);
        setTimeout(session.h, INTERNET_OPTION_SEND_TIMEOUT, timeouts_.totalMs);
        setTimeout(session.h, INTERNET_OPTION_RECEIVE_TIMEOUT, timeouts_.totalMs);
        InternetHandle request{InternetOpenUrlA(session.h, url.c_str(), nullptr, 0, kOpenUrlFlags, 0)};
        if (!request.h) raiseLast();
        checkStatus(request.h);
        FileHandle file{CreateFileW(partial.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr)};
        if (file.h == INVALID_HANDLE_VALUE) raiseLast();
        try {
            copy(request.h, file.h, deadline);
        } catch (...) {
            CloseHandle(file.h);
            file.h = INVALID_HANDLE_VALUE;
            DeleteFileW(partial.c_str());
            throw;
        }
    }
    if (!MoveFileExW(partial.c_str(), widen(path).c_str(), MOVEFILE_REPLACE_EXISTING)) {
        const DWORD error = GetLastError();
        DeleteFileW(partial.c_str());
        raise(error);
    }
}

void WinInetDownloader::purgeCacheEntry(const std::string& url) { DeleteUrlCacheEntryW(widen(url).c_str()); }

}  // namespace tintal
