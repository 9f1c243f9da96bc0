#pragma once
// The controls every file-fed station window shows, at the same places on each: the file field and
// "Parcourir", the date and the error, the announced figures, the refresh and the pressure settings.
#include <string>

#include "ui/win32/window_frame.h"
#include "weather/file_source_window.h"

namespace tintal {

// Top of the free space left in the right-hand column, for a window's own controls.
inline constexpr int kFileSourceExtrasTop = 252;

// Creates the window of a file-fed source with the controls they all have. fileLabel: "Fichier
// history.dat :" or "Fichier .wlk :"; offsetLabel: "Recalage" or "Recalage pression"; pressureGroup:
// the group box "Pression" around the pressure settings and the window's own controls below them
// (groupHeight high), or none.
WindowFrame createFileSourceFrame(FileSourceWindow& window, HWND owner, const std::string& fileLabel,
                                  const std::string& offsetLabel, const Label* pressureGroup = nullptr,
                                  int groupHeight = 0);

}  // namespace tintal
