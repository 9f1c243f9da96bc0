#pragma once
// Where the Windows program keeps its files.
#include <string>

namespace tintal {

// Enters the program's own folder: every file the program names is relative to it.
void enterProgramFolder();
// The shared folder other radio programs read the weather exports from, made when missing; "" (nothing
// is exported) when it cannot be made.
std::string makeWeatherExportFolder();

}  // namespace tintal
