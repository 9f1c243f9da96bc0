#pragma once
// Where a clip's bytes come from: a file on disk or a recorded clip in memory.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "platform/file_reader.h"

namespace tintal {

class WaveSource {
public:
    virtual ~WaveSource() = default;
    // Reads up to n bytes; returns how many were read. Throws std::ios_base::failure on a read error.
    virtual std::size_t read(std::uint8_t* out, std::size_t n) = 0;
    // Bytes left after the current position.
    virtual std::uint64_t remaining() = 0;
};

class MemoryWaveSource : public WaveSource {
public:
    explicit MemoryWaveSource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    std::size_t read(std::uint8_t* out, std::size_t n) override;
    std::uint64_t remaining() override { return bytes_.size() - position_; }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

class FileWaveSource : public WaveSource {
public:
    // Opens a path given in UTF-8; isOpen() tells whether that worked.
    explicit FileWaveSource(const std::string& utf8Path) : file_(utf8Path) {}
    bool isOpen() const { return file_.isOpen(); }
    std::size_t read(std::uint8_t* out, std::size_t n) override { return file_.read(out, n); }
    std::uint64_t remaining() override { return file_.remaining(); }

private:
    FileReader file_;
};

}  // namespace tintal
