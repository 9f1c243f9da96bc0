#pragma once
// Files in memory, with a failure to order at either step of a replacement.
#include <map>
#include <set>
#include <string>

#include "platform/durable_files.h"

namespace tintal {

class FakeDurableFiles : public DurableFiles {
public:
    bool exists(const std::string& path) override { return files.count(path) != 0; }
    std::optional<std::vector<std::uint8_t>> read(const std::string& path) override {
        const auto found = files.find(path);
        if (found == files.end() || unreadable.count(path)) return std::nullopt;
        return found->second;
    }
    Outcome replace(const std::string& path, const std::string& tempPath, std::span<const std::uint8_t> bytes,
                    bool readOnly) override {
        ++replaces;
        if (failAt == Step::Staging) return {Step::Staging, "disk full"};
        files[tempPath].assign(bytes.begin(), bytes.end());
        if (failAt == Step::Replacing) return {Step::Replacing, "locked"};
        files[path] = files[tempPath];
        files.erase(tempPath);
        if (readOnly) readOnlyFiles.insert(path);
        return {};
    }
    void put(const std::string& path, const std::string& text) { files[path].assign(text.begin(), text.end()); }
    std::string text(const std::string& path) const {
        const auto found = files.find(path);
        return found == files.end() ? std::string() : std::string(found->second.begin(), found->second.end());
    }

    std::map<std::string, std::vector<std::uint8_t>> files;
    std::set<std::string> unreadable, readOnlyFiles;
    Step failAt = Step::Done;
    int replaces = 0;
};

}  // namespace tintal
