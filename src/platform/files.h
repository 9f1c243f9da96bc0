#pragma once
// Whole-file reads of the files other programs keep writing (station history files and archives).
//
// Contract: window thread; paths are UTF-8.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tintal {

// True for a regular file (links followed). Folders, FIFOs and devices are not: opening or reading
// them fails or blocks forever, so every reader of a file asks this first. Needs no permission; a
// file that cannot be opened still fails at its read.
bool isReadableFile(const std::string& utf8Path);
// The whole of such a file; nullopt when it is not one or cannot be read.
std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& utf8Path);

class Files {
public:
    virtual ~Files() = default;
    virtual bool exists(const std::string& path) = 0;
    // Opens the file for reading and writing, sharing both with other programs (the station software
    // may be writing it), and reads it whole; read-only when that is all the program may do. nullopt
    // when it is not a regular file, cannot be opened, or read.
    virtual std::optional<std::vector<std::uint8_t>> readShared(const std::string& path) = 0;
};

// The standard library's files: its read-write open shares the file on both platforms.
class StdFiles : public Files {
public:
    bool exists(const std::string& path) override;
    std::optional<std::vector<std::uint8_t>> readShared(const std::string& path) override;
};

}  // namespace tintal
