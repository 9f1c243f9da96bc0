#pragma once
#include "platform/downloader.h"

namespace tintal {

// Downloads with WinInet, through the system's proxy settings and its login cookies (which an
// address opened in the user's browser may have set).
class WinInetDownloader : public Downloader {
public:
    void download(const std::string& url, const std::string& path) override;
    void purgeCacheEntry(const std::string& url) override;
};

}  // namespace tintal
