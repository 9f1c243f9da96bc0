#pragma once
#include <atomic>

#include "platform/downloader.h"
#include "platform/event_loop.h"

namespace tintal {

// Downloads with libcurl. There is no shared web cache to purge.
//
// The transfer runs on a worker thread; with a loop, the window thread keeps dispatching it (clock
// ticks, sound notifications, serial lines) until the transfer ends, then download() returns.
class CurlDownloader : public Downloader {
public:
    explicit CurlDownloader(EventLoop* loop = nullptr);
    ~CurlDownloader() override;
    void download(const std::string& url, const std::string& path) override;
    void purgeCacheEntry(const std::string&) override {}

    // Thread-safe (a signal watcher calls it): the program is stopping, so the transfer under way
    // ends within a second, and any later one fails at once.
    void stop() { stopping_ = true; }

private:
    EventLoop* loop_;
    std::atomic<bool> stopping_{false};
};

}  // namespace tintal
