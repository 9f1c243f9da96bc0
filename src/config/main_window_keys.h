#pragma once
// The keys of the main window and its menus, in the order the file holds them.
#include <vector>

#include "config/key_table.h"

namespace tintal {

class TForm1;

// RECORD to VOLUME: the announcement's content, its window of hours, the sound files and volume.
// The keys of other windows that stand between them (RECORDER, START, REDUCE, MAXVOLUME, METEO) are
// added by the composition in their places.
SettingsKey recordKey(TForm1& form);
// ROSE and OLD.
std::vector<SettingsKey> menuChoiceKeys(TForm1& form);
std::vector<SettingsKey> soundFileKeys(TForm1& form);
std::vector<SettingsKey> contentKeys(TForm1& form);
std::vector<SettingsKey> volumeKeys(TForm1& form);
// TOP, LEFT, WIDTH, HEIGHT of the main window.
std::vector<SettingsKey> mainGeometryKeys(TForm1& form);
SettingsKey outputDeviceKey(TForm1& form);

}  // namespace tintal
