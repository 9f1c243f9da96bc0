#pragma once
// Fetches web documents into local files (the web weather sources' working files).
//
// Contract: called on the window thread, which it blocks for the length of the download; the
// connect and total timeouts bound that wait. The document is written to a temporary file beside
// the target and put in place only when it is complete, so a failure leaves the previous file as
// it was. An HTTP answer of 400 or more is a failure, not a document. Every failure throws
// DownloadError with the system's own text.
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
