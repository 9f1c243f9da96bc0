#pragma once
// `tintal --read-source metar|aprs|piu PATH`: one read of a web weather source, from a local document
// or an http(s) address, as its window would make it; prints the window's captions, its date field and
// its error field. The METAR and APRS exports are written into the working folder (and the export
// folder when it exists), as the windows write them.
#include <ostream>
#include <string>

#include "platform/desktop.h"
#include "platform/downloader.h"
#include "platform/event_loop.h"
#include "platform/files.h"

namespace tintal {

struct WebSourceRun {
    EventLoop& loop;
    Desktop& desktop;
    Downloader& downloader;
    Files& files;
    std::string workingFolder;  // empty: the current directory
    std::string exportFolder;   // empty: none
    std::ostream& out;
};

// Each returns 0 when the error field is empty after the read, 1 otherwise.
int readMetarSource(const std::string& path, WebSourceRun& run);
int readAprsSource(const std::string& path, WebSourceRun& run);
int readPioupiouSource(const std::string& path, WebSourceRun& run);

// The Linux counterpart of the Windows export folder: $XDG_DATA_HOME/tintal/weather, or
// $HOME/.local/share/tintal/weather; empty when neither variable is set.
std::string linuxWebExportFolder(const char* xdgDataHome, const char* home);

}  // namespace tintal
