#include "platform/posix/curl_downloader.h"

#include <curl/curl.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <thread>

namespace tintal {

namespace {

struct CurlFree {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct FileClose {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// What the worker needs and what it reports; owned by the call, the worker only borrows it.
struct Transfer {
    std::FILE* out = nullptr;
    std::int64_t received = 0;
    bool tooLarge = false;
    const std::atomic<bool>* stopping = nullptr;
    std::atomic<bool> abandoned{false};  // the window thread failed while it waited
    std::atomic<bool> finished{false};
    CURLcode code = CURLE_OK;
};

size_t writeChunk(char* data, size_t size, size_t count, void* user) {
    auto& t = *static_cast<Transfer*>(user);
    t.received += static_cast<std::int64_t>(size * count);
    // An answer without a length is cut as soon as it passes the cap: it is never held whole.
    if (t.received > kMaxDocumentBytes) {
        t.tooLarge = true;
        return 0;
    }
    return std::fwrite(data, size, count, t.out) * size;
}

// libcurl calls it about once a second even while nothing arrives, so a stop is seen within that.
int progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto& t = *static_cast<Transfer*>(user);
    return t.stopping->load() || t.abandoned.load() ? 1 : 0;
}

// The request as the Windows program makes it: the address is its own user agent, nothing cached.
void configure(CURL* curl, const std::string& url, const DownloadTimeouts& timeouts, Transfer& t, char* errorText,
               curl_slist* headers) {
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_USERAGENT, url.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeouts.connectMs));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(timeouts.totalMs));
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(kMaxDocumentBytes));
    curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, 1024L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, writeChunk);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, progress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &t);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
}

}  // namespace

CurlDownloader::CurlDownloader(EventLoop* loop) : loop_(loop) { curl_global_init(CURL_GLOBAL_DEFAULT); }
CurlDownloader::~CurlDownloader() { curl_global_cleanup(); }

void CurlDownloader::download(const std::string& url, const std::string& path) {
    if (stopping_) throw DownloadError("stopping");
    const std::string partial = partialDownloadPath(path);
    std::unique_ptr<CURL, CurlFree> curl(curl_easy_init());
    if (!curl) throw DownloadError("libcurl cannot start");
    std::unique_ptr<std::FILE, FileClose> out(std::fopen(partial.c_str(), "wb"));
    if (!out) throw DownloadError("cannot create " + partial);
    char errorText[CURL_ERROR_SIZE] = "";
    std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headers(curl_slist_append(nullptr, "Pragma: no-cache"),
                                                                        &curl_slist_free_all);
    Transfer t;
    t.out = out.get();
    t.stopping = &stopping_;
    configure(curl.get(), url, timeouts_, t, errorText, headers.get());
    std::thread worker([&] {
        t.code = curl_easy_perform(curl.get());
        t.finished = true;
        // Wakes a pumping window thread at once instead of at its next slice.
        if (loop_) loop_->post([] {});
    });
    std::error_code ignored;
    try {
        while (loop_ && !t.finished) loop_->pump(20);
    } catch (...) {
        t.abandoned = true;
        worker.join();
        out.reset();
        std::filesystem::remove(partial, ignored);
        throw;
    }
    worker.join();
    const bool written = std::fflush(out.get()) == 0 && !std::ferror(out.get());
    out.reset();
    if (t.code != CURLE_OK || !written) {
        std::filesystem::remove(partial, ignored);
        if (t.tooLarge || t.code == CURLE_FILESIZE_EXCEEDED) throw DocumentTooLarge();
        throw DownloadError(t.code != CURLE_OK ? (errorText[0] ? errorText : curl_easy_strerror(t.code))
                                               : "cannot write " + partial);
    }
    std::error_code renameError;
    std::filesystem::rename(partial, path, renameError);
    if (renameError) {
        std::filesystem::remove(partial, ignored);
        throw DownloadError(renameError.message());
    }
}

}  // namespace tintal
