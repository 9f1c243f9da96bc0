#pragma once
// The files the portable code reads and writes that are not its settings or log: station history
// files and archives other programs keep writing, the web sources' working files and exports, the
// downloaded versions file, the sound files a user picks.
//
// Contract: window thread; paths are UTF-8 (converted once, by fsPath, for the system).
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tintal {

// True for a regular file (links followed). Folders, FIFOs and devices are not: opening or reading
// them fails or blocks forever, so every reader of a file asks this first. Needs no permission; a
// file that cannot be opened still fails at its read.
bool isReadableFile(const std::string& utf8Path);
// The whole of such a file; nullopt when it is not one or cannot be read.
std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& utf8Path);
// Its size in bytes; nullopt when it is not one.
std::optional<std::uint64_t> fileSize(const std::string& utf8Path);
// The names (UTF-8, without the folder) of what a folder holds, in byte order; empty when it
// cannot be listed.
std::vector<std::string> folderEntries(const std::string& utf8Folder);

class Files {
public:
    virtual ~Files() = default;
    // A regular file (see isReadableFile).
    virtual bool exists(const std::string& path) = 0;
    // A regular file this program may open for reading.
    virtual bool canRead(const std::string& path) = 0;
    virtual bool isFolder(const std::string& path) = 0;
    // The whole regular file; nullopt when it is not one or cannot be read.
    virtual std::optional<std::vector<std::uint8_t>> read(const std::string& path) = 0;
    // Opens the file for reading and writing, sharing both with other programs (the station software
    // may be writing it), and reads it whole; read-only when that is all the program may do. nullopt
    // when it is not a regular file, cannot be opened, or read.
    virtual std::optional<std::vector<std::uint8_t>> readShared(const std::string& path) = 0;
    // Removes any file at path, then writes bytes there; false when they could not all be written.
    virtual bool write(const std::string& path, std::string_view bytes) = 0;
    // Removes the file when there is one; nothing is reported.
    virtual void remove(const std::string& path) = 0;
    virtual std::optional<std::chrono::system_clock::time_point> modifiedAt(const std::string& path) = 0;
};

// The standard library's files: its read-write open shares the file on both platforms.
class StdFiles : public Files {
public:
    bool exists(const std::string& path) override;
    bool canRead(const std::string& path) override;
    bool isFolder(const std::string& path) override;
    std::optional<std::vector<std::uint8_t>> read(const std::string& path) override;
    std::optional<std::vector<std::uint8_t>> readShared(const std::string& path) override;
    bool write(const std::string& path, std::string_view bytes) override;
    void remove(const std::string& path) override;
    std::optional<std::chrono::system_clock::time_point> modifiedAt(const std::string& path) override;
};

}  // namespace tintal
