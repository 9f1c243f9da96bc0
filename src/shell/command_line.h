#pragma once
// The Linux program's command line: options and their checks.
#include <optional>
#include <string>

namespace tintal {

struct Options {
    bool help = false;
    bool dryRun = false;
    bool now = false;  // speak one announcement now and exit
    bool listDevices = false;
    bool silent = false;             // the clock lists its clips instead of playing them
    bool listPorts = false;          // list the serial ports as the port window shows them
    std::string testPttPort;         // key DTR and RTS of this port ("COMn") for a second, then exit
    std::string port;                // the transmitter port of the clock and of --now ("COMn")
    std::string renderPath;          // write the announcement to this WAV file
    std::optional<double> at;        // local date-time for a dry run or a render
    std::optional<int> periodIndex;  // 0..6: none, 5, 10, 15, 20, 30, 60 minutes
    std::optional<int> startHour, endHour;
    std::string dir;          // the working folder: tintal.ini, tintal.log, the web sources' files
    bool saveConfig = false;  // load the settings and save them back, then exit
    // --read-source KIND PATH: one read of a weather source, printed.
    std::string readSourceKind, readSourcePath;
};

// Returns nullopt with a message in error for a command line it cannot take.
std::optional<Options> parseCommandLine(int argc, const char* const* argv, std::string& error);
std::optional<double> parseLocalDateTime(const std::string& text);
std::string usageText();

}  // namespace tintal
