#pragma once
// Fetches web documents into local files (the web weather sources' working files).
//
// Contract: called on the window thread and returns when the download has ended; the connect and
// total timeouts bound that wait. An adapter may run the transfer on a worker and keep the window
// thread dispatching meanwhile (handlers may then be re-entered, as in any pump). The document is
// written to a temporary file beside the target and put in place only when it is complete, so a
// failure leaves the previous file as it was. An HTTP answer of 400 or more is a failure, not a
// document; so is one longer than kMaxDocumentBytes (DocumentTooLarge, nothing left on disk).
// Every failure throws DownloadError with the system's own text.
#include <cstdint>
#include <stdexcept>
#include <string>

namespace tintal {

struct DownloadTimeouts {
    int connectMs = 15000;
    int totalMs = 30000;
};

class DownloadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Weather documents are a few kilobytes; a larger answer is a wrong address or a hostile server.
inline constexpr std::int64_t kMaxDocumentBytes = 1024 * 1024;

class DocumentTooLarge : public DownloadError {
public:
    DocumentTooLarge() : DownloadError("document larger than 1 MB") {}
};

class Downloader {
public:
    virtual ~Downloader() = default;
    virtual void download(const std::string& url, const std::string& path) = 0;
    // Forgets what the system's web cache holds for the address (nothing to do where there is none).
    virtual void purgeCacheEntry(const std::string& url) = 0;

    void setTimeouts(DownloadTimeouts timeouts) { timeouts_ = timeouts; }
    const DownloadTimeouts& timeouts() const { return timeouts_; }

protected:
    DownloadTimeouts timeouts_;
};

// Where a download writes until it is complete.
inline std::string partialDownloadPath(const std::string& path) { return path + ".part"; }

}  // namespace tintal
