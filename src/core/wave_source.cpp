#include "core/wave_source.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "platform/file_path.h"
#include "platform/files.h"

namespace tintal {

std::size_t MemoryWaveSource::read(std::uint8_t* out, std::size_t n) {
    const std::size_t count = std::min<std::size_t>(n, bytes_.size() - position_);
    if (count > 0) std::memcpy(out, bytes_.data() + position_, count);
    position_ += count;
    return count;
}

FileWaveSource::FileWaveSource(const std::string& utf8Path) {
    const std::filesystem::path path = fsPath(utf8Path);
    std::error_code error;
    if (!isReadableFile(utf8Path)) return;
    file_.open(path, std::ios::binary);
    size_ = std::filesystem::file_size(path, error);
    if (error) file_.close();
}

std::size_t FileWaveSource::read(std::uint8_t* out, std::size_t n) {
    file_.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(n));
    if (file_.bad()) throw std::ios_base::failure("read error");
    const auto count = static_cast<std::size_t>(file_.gcount());
    if (file_.eof()) file_.clear();  // a short read is reported by the count, not the stream state
    return count;
}

std::uint64_t FileWaveSource::remaining() {
    const auto position = file_.tellg();
    if (position < 0) return 0;
    const auto at = static_cast<std::uint64_t>(position);
    return at < size_ ? size_ - at : 0;
}

}  // namespace tintal
