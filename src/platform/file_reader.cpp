#include "platform/file_reader.h"

#include "platform/file_path.h"
#include "platform/files.h"

namespace tintal {

FileReader::FileReader(const std::string& utf8Path) {
    const auto size = fileSize(utf8Path);
    if (!size) return;
    file_.open(fsPath(utf8Path), std::ios::binary);
    size_ = *size;
}

std::size_t FileReader::read(std::uint8_t* out, std::size_t n) {
    file_.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(n));
    if (file_.bad()) throw std::ios_base::failure("read error");
    const auto count = static_cast<std::size_t>(file_.gcount());
    if (file_.eof()) file_.clear();  // a short read is reported by the count, not the stream state
    return count;
}

std::uint64_t FileReader::remaining() {
    const auto position = file_.tellg();
    if (position < 0) return 0;
    const auto at = static_cast<std::uint64_t>(position);
    return at < size_ ? size_ - at : 0;
}

}  // namespace tintal
