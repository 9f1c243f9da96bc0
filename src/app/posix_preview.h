#pragma once
// Previews of the announcement a station will make: the whole program with the working folder's
// settings and weather, on virtual time, with nothing keyed, sent or written back.
#include <functional>
#include <string>

#include "core/tform1.h"
#include "platform/desktop.h"
#include "platform/station_library.h"
#include "shell/command_line.h"

namespace tintal {

struct PreviewContext {
    Desktop& desktop;
    StationLibrary& stationLibrary;
    // The command line's settings, applied over the file's once it is loaded.
    std::function<void(TForm1&)> applyOptions;
    // The station's own recordings, over the built-in clips.
    std::string voiceFolder;
};

// Prints the clips of one announcement at `at`, one per line (sound files as their path).
int previewDryRun(double at, PreviewContext context);
// Writes the announcement at `at` to a WAV file, as it would be heard.
int previewRender(const std::string& path, double at, PreviewContext context);

}  // namespace tintal
