#pragma once
// Serves canned documents and failures by address, and records what was asked.
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/downloader.h"
#include "platform/file_path.h"

namespace tintal {

class FakeDownloader : public Downloader {
public:
    void serve(const std::string& url, std::string document) { documents_[url] = std::move(document); }
    void fail(const std::string& url) { documents_.erase(url); }

    void download(const std::string& url, const std::string& path) override {
        downloads.push_back(url);
        if (duringDownload) duringDownload();
        const auto found = documents_.find(url);
        if (found == documents_.end()) throw DownloadError("The server name or address could not be resolved");
        std::ofstream(fsPath(path), std::ios::binary) << found->second;
    }
    void purgeCacheEntry(const std::string& url) override { purged.push_back(url); }

    std::function<void()> duringDownload;
    std::vector<std::string> downloads;
    std::vector<std::string> purged;

private:
    std::map<std::string, std::string> documents_;
};

}  // namespace tintal
