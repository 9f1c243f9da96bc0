#pragma once
// Number helpers shared by every part of the program: one rounding rule, one strict conversion.
#include <optional>
#include <string>
#include <string_view>

namespace tintal {

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
long long roundHalfEven(double value);

// Optional sign then decimal digits only, within the 32-bit range; anything else is nullopt.
std::optional<int> strictToInt(std::string_view text);

// Fixed decimals with the given decimal separator ("12,5" for 12.5, 1 decimal, ',').
std::string formatFixed(double value, int decimals, char decimalSeparator);

}  // namespace tintal
