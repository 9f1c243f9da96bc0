// Any bytes as the shared block another program wrote: the decoder must never read past them or
// past the block, and what it decodes must encode back to the same bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "radio/companion_message.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tintal;
    // A copy of exactly the input's size, so that AddressSanitizer sees any read past its end.
    const std::vector<std::uint8_t> block(data, data + size);
    const CompanionMessage message = decodeCompanionMessage(block);

    const std::size_t room =
        size < kCompanionLengthBytes ? 0 : std::min(size, kCompanionBlockSize) - kCompanionLengthBytes;
    std::size_t taken = 0;
    if (message.declaredLength > 0)
        taken = std::min<std::size_t>(static_cast<std::size_t>(message.declaredLength), room);
    if (message.lengthClamped != (size < kCompanionLengthBytes || message.declaredLength < 0 ||
                                  static_cast<std::size_t>(message.declaredLength) > room)) {
        __builtin_trap();
    }

    // Windows-1252 to UTF-8 and back loses nothing, so the text is exactly the bytes taken.
    const std::vector<std::uint8_t> again = encodeCompanionMessage(message.text);
    if (again.size() != kCompanionLengthBytes + taken) __builtin_trap();
    if (taken > 0 &&
        std::memcmp(again.data() + kCompanionLengthBytes, block.data() + kCompanionLengthBytes, taken) != 0) {
        __builtin_trap();
    }

    const CompanionRequests requests = companionRequests(message.text);
    if (requests.play && message.text.find("TINTAL_PLAY") == std::string::npos) __builtin_trap();
    return 0;
}
