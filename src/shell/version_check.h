#pragma once
// The publisher's versions file ("name=version" lines) and how two versions compare.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tintal {

// 100 × the first digit, 10 × the first digit after the first ".", 1 × the first after the second:
// "2.4.1" → 241, "2.10.0" → 210, "3" → 300, "" → 0. A part that begins with "." adds nothing; a
// character that is not a digit ends the count with what was reached.
int VersionValue(std::string_view version);

// The version published for `name` in a downloaded versions file: the rest of the first line whose
// text up to its first "=" (at position 2 or later) is exactly name + "=". Empty when there is none,
// or when one of the first three bytes is "<" (a web page came instead of the list).
std::string versionFor(std::span<const std::uint8_t> file, std::string_view name);

}  // namespace tintal
