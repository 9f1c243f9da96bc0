#pragma once
// UTF-8 (the program's text) to and from UTF-16 (the wide Win32 calls).
#include <string>
#include <string_view>

namespace tintal {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view wide);
// The system's message for a GetLastError() code, in the user's language ("Error n" when it has none).
std::string systemErrorText(unsigned long error);

}  // namespace tintal
