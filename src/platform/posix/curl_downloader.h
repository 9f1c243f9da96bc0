#pragma once
#include "platform/downloader.h"

namespace tintal {

// Downloads with libcurl. There is no shared web cache to purge.
class CurlDownloader : public Downloader {
public:
    CurlDownloader();
    ~CurlDownloader() override;
    void download(const std::string& url, const std::string& path) override;
    void purgeCacheEntry(const std::string&) override {}
};

}  // namespace tintal
