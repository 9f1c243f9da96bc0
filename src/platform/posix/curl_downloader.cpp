#include "platform/posix/curl_downloader.h"

#include <curl/curl.h>

#include <cstdio>
#include <filesystem>
#include <memory>

namespace tintal {

namespace {

struct CurlFree {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct FileClose {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

size_t writeChunk(char* data, size_t size, size_t count, void* file) {
    return std::fwrite(data, size, count, static_cast<std::FILE*>(file)) * size;
}

// The request as the Windows program makes it: the address is its own user agent, nothing cached.
void configure(CURL* curl, const std::string& url, const DownloadTimeouts& timeouts, std::FILE* out, char* errorText,
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
    curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, 1024L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, writeChunk);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, out);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
}

}  // namespace

CurlDownloader::CurlDownloader() { curl_global_init(CURL_GLOBAL_DEFAULT); }
CurlDownloader::~CurlDownloader() { curl_global_cleanup(); }

void CurlDownloader::download(const std::string& url, const std::string& path) {
    const std::string partial = partialDownloadPath(path);
    std::unique_ptr<CURL, CurlFree> curl(curl_easy_init());
    if (!curl) throw DownloadError("libcurl cannot start");
    std::unique_ptr<std::FILE, FileClose> out(std::fopen(partial.c_str(), "wb"));
    if (!out) throw DownloadError("cannot create " + partial);
    char errorText[CURL_ERROR_SIZE] = "";
    std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headers(curl_slist_append(nullptr, "Pragma: no-cache"),
                                                                        &curl_slist_free_all);
    configure(curl.get(), url, timeouts_, out.get(), errorText, headers.get());
    const CURLcode code = curl_easy_perform(curl.get());
    const bool written = std::fflush(out.get()) == 0 && !std::ferror(out.get());
    out.reset();
    std::error_code ignored;
    if (code != CURLE_OK || !written) {
        std::filesystem::remove(partial, ignored);
        throw DownloadError(code != CURLE_OK ? (errorText[0] ? errorText : curl_easy_strerror(code))
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
