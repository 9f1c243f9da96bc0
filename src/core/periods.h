#pragma once
#include <array>

namespace tintal {

// The announcement periods in minutes, by position of the period control (0 = none).
inline constexpr std::array<int, 7> kPeriodMinutes = {0, 5, 10, 15, 20, 30, 60};

}  // namespace tintal
