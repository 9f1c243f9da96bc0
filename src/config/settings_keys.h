#pragma once
// The kinds of keys the windows store, built over their controls.
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "config/key_table.h"
#include "widgets/list_control.h"
#include "widgets/menu_item.h"
#include "widgets/radio_button.h"
#include "widgets/spin_box.h"
#include "widgets/text_field.h"
#include "widgets/tick_box.h"
#include "widgets/window.h"

namespace tintal {

// On/off: written as onValue only while the state differs from the default; reading onValue sets
// that state, any other value does nothing. A default-off tick box uses "Y", a default-on one "N".
SettingsKey tickedFlag(std::string key, TickBox& box);    // "Y" while ticked
SettingsKey untickedFlag(std::string key, TickBox& box);  // "N" while unticked
SettingsKey untickedFlag(std::string key, TickBox& box, std::string offValue);
SettingsKey markedFlag(std::string key, MenuItem& item, std::string value = "Y");
// Written always as "Y" or "N"; "Y" selects yes, any other value selects no.
SettingsKey radioPair(std::string key, RadioButton& yes, RadioButton& no);

// An integer, written when `written` allows (always when empty). A value that does not convert is
// ignored, the control keeping its state; `set` answers whether the value was one the key can use.
SettingsKey integerKey(std::string key, std::function<int()> get, std::function<bool(int)> set,
                       std::function<bool(int)> written = {});
// A spin box or slider's value, written when `written` allows (always when empty); reading sets it
// through the control, which keeps it within its range (a value outside it is still refused).
SettingsKey spinKey(std::string key, SpinBox& spin, std::function<bool(int)> written = {});
// Text, written unless empty (or always); `set` decides what a value read does, and answers whether
// the value was one the key can use.
SettingsKey textKey(std::string key, std::function<std::string()> get, std::function<bool(const std::string&)> set,
                    bool writtenWhenEmpty = false);
// A list written one line per entry; entries read are appended while the list holds fewer than `cap`.
SettingsKey listKey(std::string key, ListControl& list, int cap = 10);
// Numbered texts prefix1 .. prefixN for the non-empty ones; a line whose number is not 1..N is ignored.
SettingsKey numberedTexts(std::string prefix, std::vector<TextField*> fields);

// The tick boxes of the figures to speak: prefix + suffix ("W23_TEMPINT"), "Y" while ticked.
using AnnounceBoxes = std::vector<std::pair<std::string, TickBox*>>;
std::vector<SettingsKey> announceFlagKeys(const std::string& prefix, const AnnounceBoxes& boxes);

enum class GeometryOrder { TopLeftHeightWidth, TopLeftWidthHeight };
// prefix "W23_" gives W23_TOP, W23_LEFT, W23_HEIGHT, W23_WIDTH; always written.
std::vector<SettingsKey> geometryKeys(const std::string& prefix, Window& window,
                                      GeometryOrder order = GeometryOrder::TopLeftHeightWidth);

}  // namespace tintal
