#pragma once
// The message block shared with the companion program, as both programs lay it out:
//
//   offset 0, 4 bytes   message length n, 32-bit signed little-endian
//   offset 4, n bytes   message text in Windows-1252, no terminator
//
// One message at a time, overwritten by each writer. The block belongs to another program, so a
// decoded length is never trusted: a negative one reads as empty, one past the end of the block
// (or of the bytes given) stops at that end.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/companion_channel.h"

namespace tintal {

inline constexpr std::size_t kCompanionLengthBytes = 4;
inline constexpr std::size_t kCompanionMaxTextBytes = kCompanionBlockSize - kCompanionLengthBytes;  // 65532

// The messages of the protocol, in UTF-8.
inline constexpr std::string_view kTintalConnected = "TINTAL connecté";
inline constexpr std::string_view kTintalDisconnected = "TINTAL déconnecté";
inline constexpr std::string_view kTintalHello = "TINTAL_HELLO";
inline constexpr std::string_view kTintalReady = "TINTAL_READY";
inline constexpr std::string_view kTintalOccupied = "TINTAL_OCCUPIED";
inline constexpr std::string_view kTintalPlay = "TINTAL_PLAY";
inline constexpr std::string_view kTintalDone = "TINTAL_DONE";

// The first 4 + n bytes of the block for a UTF-8 text. Text longer than kCompanionMaxTextBytes once
// in Windows-1252 is cut there; characters Windows-1252 lacks become '?'.
std::vector<std::uint8_t> encodeCompanionMessage(std::string_view utf8);

struct CompanionMessage {
    std::string text;                 // UTF-8
    std::int32_t declaredLength = 0;  // as the writer put it
    bool lengthClamped = false;       // declaredLength was negative or ran past the bytes
};

// Reads the message out of a block (normally all kCompanionBlockSize bytes; fewer are taken as a
// block that ends there).
CompanionMessage decodeCompanionMessage(std::span<const std::uint8_t> block);

// What a received text asks for. Requests are recognised by containment, so a text may carry both.
struct CompanionRequests {
    bool hello = false;
    bool play = false;
};
CompanionRequests companionRequests(std::string_view text);

}  // namespace tintal
