#pragma once
// The program's version: the one place it is written. Also read by the resource compiler (the file's
// version block) and by the release packaging, so it holds only preprocessor definitions and one constant.
#define TINTAL_VERSION_MAJOR 2
#define TINTAL_VERSION_MINOR 4
#define TINTAL_VERSION_PATCH 0
#define TINTAL_VERSION_TEXT "2.4.0"

#ifdef __cplusplus
#include <string_view>

namespace tintal {
inline constexpr std::string_view kProgramVersion = TINTAL_VERSION_TEXT;
}  // namespace tintal
#endif
