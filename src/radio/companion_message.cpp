#include "radio/companion_message.h"

#include <algorithm>

#include "base/text_encoding.h"

namespace tintal {

std::vector<std::uint8_t> encodeCompanionMessage(std::string_view utf8) {
    std::string text = utf8ToCp1252(utf8);
    if (text.size() > kCompanionMaxTextBytes) text.resize(kCompanionMaxTextBytes);
    const auto n = static_cast<std::uint32_t>(text.size());
    std::vector<std::uint8_t> bytes;
    bytes.reserve(kCompanionLengthBytes + n);
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(n >> shift));
    bytes.insert(bytes.end(), text.begin(), text.end());
    return bytes;
}

CompanionMessage decodeCompanionMessage(std::span<const std::uint8_t> block) {
    CompanionMessage message;
    if (block.size() < kCompanionLengthBytes) {
        message.lengthClamped = true;
        return message;
    }
    const std::uint32_t raw = block[0] | (block[1] << 8) | (block[2] << 16) | (std::uint32_t(block[3]) << 24);
    message.declaredLength = static_cast<std::int32_t>(raw);
    const std::size_t room = std::min(block.size(), kCompanionBlockSize) - kCompanionLengthBytes;
    std::size_t n = 0;
    if (message.declaredLength < 0) {
        message.lengthClamped = true;
    } else if (static_cast<std::size_t>(message.declaredLength) > room) {
        n = room;
        message.lengthClamped = true;
    } else {
        n = static_cast<std::size_t>(message.declaredLength);
    }
    const auto* text = reinterpret_cast<const char*>(block.data() + kCompanionLengthBytes);
    message.text = cp1252ToUtf8(std::string_view(text, n));
    return message;
}

CompanionRequests companionRequests(std::string_view text) {
    return {text.find(kTintalHello) != std::string_view::npos, text.find(kTintalPlay) != std::string_view::npos};
}

}  // namespace tintal
