#include "platform/mapped_companion_channel.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace tintal {

namespace {

constexpr std::size_t kLengthWordBytes = 4;

}  // namespace

CompanionStatus MappedCompanionChannel::writeAndPulse(std::span<const std::uint8_t> bytes) {
    if (!isOpen()) return {false, std::string(kCompanionWriteViewError), MutexWait::TimedOut};
    const std::size_t length = bytes.empty() ? 1 : bytes.size();
    void* view = bytes.size() <= kCompanionBlockSize ? mapView(length, true) : nullptr;
    if (!view) return {false, std::string(kCompanionWriteViewError)};
    if (!bytes.empty()) std::memcpy(view, bytes.data(), bytes.size());
    unmapView(view, length);
    pulse();
    return {};
}

CompanionStatus MappedCompanionChannel::read(CompanionBlock& out) {
    if (!isOpen()) return {false, std::string(kCompanionReadViewError), MutexWait::TimedOut};
    void* view = mapView(kCompanionBlockSize, false);
    if (!view) return {false, std::string(kCompanionReadViewError)};
    const auto* bytes = static_cast<const std::uint8_t*>(view);
    std::int32_t declared;
    std::memcpy(&declared, bytes, sizeof declared);
    const std::size_t room = kCompanionBlockSize - kLengthWordBytes;
    const std::size_t n = declared < 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(declared), room);
    std::memcpy(out.data(), bytes, kLengthWordBytes + n);
    unmapView(view, kCompanionBlockSize);
    return {};
}

void MappedCompanionChannel::nudge() {
    nudged_ = true;
    wakeWaiters();
}

}  // namespace tintal
