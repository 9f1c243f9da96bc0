#pragma once
#include <string>

#include "platform/downloader.h"

namespace tintal {

// A download that never happens: a settings check must not reach the network.
class OfflineDownloader : public Downloader {
public:
    void download(const std::string&, const std::string&) override { throw DownloadError("hors ligne"); }
    void purgeCacheEntry(const std::string&) override {}
};

}  // namespace tintal
