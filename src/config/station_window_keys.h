#pragma once
// The keys of the windows fed by station files: WS-2300, WS-2800 and Vantage Pro2.
#include <vector>

#include "config/key_table.h"

namespace tintal {

class TFormMeteo;
class TFormMeteoW23;
class TFormMeteoW28;
class TFormMeteoPro2;

std::vector<SettingsKey> monitorKeys(TFormMeteo& window);
std::vector<SettingsKey> w23Keys(TFormMeteoW23& window);
std::vector<SettingsKey> w28Keys(TFormMeteoW28& window);
std::vector<SettingsKey> pro2Keys(TFormMeteoPro2& window);

}  // namespace tintal
