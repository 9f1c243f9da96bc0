#pragma once
// The keys of the radio windows: the recorder's path and the serial port with its lines.
#include <vector>

#include "config/key_table.h"

namespace tintal {

class TFormRecord;
class TFormCOM;

SettingsKey recorderPathKey(TFormRecord& window);
// COM, then DTR, RTS, DSR, CTS and DCD.
std::vector<SettingsKey> serialPortKeys(TFormCOM& window);

}  // namespace tintal
