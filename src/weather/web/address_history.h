#pragma once
// The history box of a web source: up to ten addresses, the newest first once it is full.
#include <string>

#include "widgets/combo_box.h"

namespace tintal {

inline constexpr int kHistoryLength = 10;

// Selects the entry equal to the address (the last one when several are), appends it while the box has
// room, or else drops the tenth entry, puts the address first and selects it. Empty addresses are ignored.
void addToHistory(ComboBox& history, const std::string& address);

}  // namespace tintal
