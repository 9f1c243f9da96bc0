#include "platform/win32/wininet_downloader.h"

#include <windows.h>
#include <wininet.h>

#include <chrono>
#include <condition_variable>
#include <cwchar>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/win32/win32_text.h"

namespace tintal {

namespace {

// The no-cache pair: the answer is not written to the cache, and the request asks proxies not to serve one.
constexpr DWORD kOpenUrlFlags = INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE;
constexpr DWORD kChunk = 1024;

std::string errorText(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM;
    // WinInet's own codes are described by its module, not by the system table.
    HMODULE wininet = GetModuleHandleW(L"wininet.dll");
    const DWORD n = FormatMessageW(flags | (wininet ? FORMAT_MESSAGE_FROM_HMODULE : 0), wininet, error, 0,
                                   reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string message = n ? narrow(std::wstring_view(text, n)) : "Windows error " + std::to_string(error);
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
    return message;
}

struct Failure {
    std::string text;
    bool tooLarge = false;
};
[[noreturn]] void raiseLast() { throw Failure{errorText(GetLastError())}; }

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
    if (HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr) &&
        status >= 400) {
        throw Failure{"HTTP " + std::to_string(status)};
    }
}

// A length declared past the cap is refused before any byte is read or written.
void checkDeclaredLength(HINTERNET request) {
    wchar_t text[32] = {};
    DWORD size = sizeof text;
    if (!HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) return;
    if (std::wcstoll(text, nullptr, 10) > kMaxDocumentBytes) throw Failure{"document larger than 1 MB", true};
}

// The transfer loop: each chunk is written as it arrives, the whole document is never held, and an
// answer past the cap is cut there.
void copy(HINTERNET request, HANDLE file) {
    char buffer[kChunk];
    std::int64_t total = 0;
    for (;;) {
        DWORD got = 0;
        if (!InternetReadFile(request, buffer, kChunk, &got)) raiseLast();
        if (got == 0) return;
        total += got;
        if (total > kMaxDocumentBytes) throw Failure{"document larger than 1 MB", true};
        DWORD written = 0;
        if (!WriteFile(file, buffer, got, &written, nullptr)) raiseLast();
    }
}

// One download, shared by the caller and the thread that runs it. The caller stops waiting at the
// total timeout (WinInet's own timeouts do not bound every wait); a transfer it gave up on cleans up
// after itself whenever its blocked call returns.
struct Transfer {
    std::string url;
    std::wstring partial;
    DownloadTimeouts timeouts;
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false, abandoned = false;
    std::string failure;  // empty on success
    bool tooLarge = false;
};

// Tells the caller how the transfer ended.
void finish(Transfer& t, std::string failure, bool tooLarge) {
    std::lock_guard<std::mutex> lock(t.mutex);
    t.failure = std::move(failure);
    t.tooLarge = tooLarge;
    t.done = true;
    if (t.abandoned) DeleteFileW(t.partial.c_str());
    t.finished.notify_all();
}

// Handles are closed in order: the file, the URL, the Internet handle, also after a failure. The
// caller learns the outcome once the file is closed, before the URL handle: closing that one may
// first drain what the server still sends (Wine reads a refused 100 MB answer to its end).
void fetch(Transfer& t) {
    InternetHandle session{InternetOpenA(t.url.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0)};
    if (!session.h) raiseLast();
    setTimeout(session.h, INTERNET_OPTION_CONNECT_TIMEOUT, t.timeouts.connectMs);
    setTimeout(session.h, INTERNET_OPTION_SEND_TIMEOUT, t.timeouts.totalMs);
    setTimeout(session.h, INTERNET_OPTION_RECEIVE_TIMEOUT, t.timeouts.totalMs);
    InternetHandle request{InternetOpenUrlA(session.h, t.url.c_str(), nullptr, 0, kOpenUrlFlags, 0)};
    if (!request.h) raiseLast();
    try {
        checkStatus(request.h);
        checkDeclaredLength(request.h);
        FileHandle file{CreateFileW(t.partial.c_str(), GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr)};
        if (file.h == INVALID_HANDLE_VALUE) raiseLast();
        copy(request.h, file.h);
    } catch (const Failure& f) {
        finish(t, f.text.empty() ? "download failed" : f.text, f.tooLarge);
        return;
    }
    finish(t, {}, false);
}

void run(const std::shared_ptr<Transfer>& t) {
    try {
        fetch(*t);
    } catch (const Failure& f) {
        finish(*t, f.text.empty() ? "download failed" : f.text, f.tooLarge);
    }
}

}  // namespace

void WinInetDownloader::download(const std::string& url, const std::string& path) {
    auto transfer = std::make_shared<Transfer>();
    transfer->url = url;
    transfer->partial = widen(partialDownloadPath(path));
    transfer->timeouts = timeouts_;
    DeleteFileW(transfer->partial.c_str());
    std::thread(run, transfer).detach();
    {
        std::unique_lock<std::mutex> lock(transfer->mutex);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeouts_.totalMs);
        if (!transfer->finished.wait_until(lock, deadline, [&] { return transfer->done; })) {
            transfer->abandoned = true;
            throw DownloadError(errorText(ERROR_INTERNET_TIMEOUT));
        }
    }
    if (!transfer->failure.empty()) {
        DeleteFileW(transfer->partial.c_str());
        if (transfer->tooLarge) throw DocumentTooLarge();
        throw DownloadError(transfer->failure);
    }
    if (!MoveFileExW(transfer->partial.c_str(), widen(path).c_str(), MOVEFILE_REPLACE_EXISTING)) {
        const DWORD error = GetLastError();
        DeleteFileW(transfer->partial.c_str());
        throw DownloadError(errorText(error));
    }
}

void WinInetDownloader::purgeCacheEntry(const std::string& url) { DeleteUrlCacheEntryW(widen(url).c_str()); }

}  // namespace tintal
