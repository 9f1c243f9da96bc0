#pragma once
// Whole-file reads of the files other programs keep writing (station history files and archives).
//
// Contract: window thread; paths are UTF-8.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tintal {

class Files {
public:
    virtual ~Files() = default;
    virtual bool exists(const std::string& path) = 0;
    // Opens the file for reading and writing, sharing both with other programs (the station software
    // may be writing it), and reads it whole. nullopt when it cannot be opened so, or read.
    virtual std::optional<std::vector<std::uint8_t>> readShared(const std::string& path) = 0;
};

// The standard library's files: its read-write open shares the file on both platforms.
class StdFiles : public Files {
public:
    bool exists(const std::string& path) override;
    std::optional<std::vector<std::uint8_t>> readShared(const std::string& path) override;
};

}  // namespace tintal
