#pragma once
// Splitting a downloaded page or working file into lines, as the original's string lists load them.
#include <string_view>
#include <vector>

namespace tintal {

// CR LF, LF and CR all end a line; a last line without an end counts, a final newline adds no empty line.
std::vector<std::string_view> splitLines(std::string_view text);

}  // namespace tintal
