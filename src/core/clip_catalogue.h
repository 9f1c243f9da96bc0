#pragma once
// The 150 recorded clips: their names and the name tables that clip names are formed from.
#include <array>
#include <string>
#include <string_view>

namespace tintal {

constexpr int kClipCount = 150;

// Canonical names, in capitals, in catalogue order.
const std::array<std::string_view, kClipCount>& clipNames();
// Case-insensitive membership.
bool isCatalogueClip(std::string_view name);

// 1 = Sunday .. 7 = Saturday ("dimanche" ...).
std::string_view dayName(int dayOfWeek);
// 1 .. 12, without accents ("janvier", "fevrier", ..., "aout", ...).
std::string_view monthName(int month);

}  // namespace tintal
