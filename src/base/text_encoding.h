#pragma once
// The one boundary between the program's UTF-8 text and the 8-bit Windows-1252 bytes of its files,
// shared memory and recorder commands.
#include <string>
#include <string_view>

namespace tintal {

// Characters without a Windows-1252 byte become '?'. Invalid UTF-8 bytes are taken as Windows-1252 bytes.
std::string utf8ToCp1252(std::string_view utf8);
// The five unassigned bytes (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value.
std::string cp1252ToUtf8(std::string_view bytes);

}  // namespace tintal
