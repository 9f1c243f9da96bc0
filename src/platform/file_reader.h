#pragma once
// A regular file read from its start in pieces: for files that are checked as they are read, which
// may be too large to read whole first (a sound file a user picks).
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

namespace tintal {

class FileReader {
public:
    // Opens a path given in UTF-8; isOpen() tells whether that worked (never for a folder, a FIFO or
    // a device).
    explicit FileReader(const std::string& utf8Path);
    bool isOpen() const { return file_.is_open(); }
    // Reads up to n bytes; returns how many were read. Throws std::ios_base::failure on a read error.
    std::size_t read(std::uint8_t* out, std::size_t n);
    // Bytes left after the current position.
    std::uint64_t remaining();

private:
    std::ifstream file_;
    std::uint64_t size_ = 0;
};

}  // namespace tintal
