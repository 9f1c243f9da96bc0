#include "shell/command_line.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "base/date_time.h"
#include "base/numbers.h"
#include "core/periods.h"
#include "platform/serial_port_names.h"
#include "shell/read_source.h"

namespace tintal {

namespace {

std::optional<int> periodIndexOf(const std::string& minutes) {
    const std::optional<int> value = strictToInt(minutes);
    for (int i = 0; value && i < 7; ++i) {
        if (kPeriodMinutes[i] == *value) return i;
    }
    return std::nullopt;
}

std::optional<int> hourOf(const std::string& text) {
    const std::optional<int> value = strictToInt(text);
    if (!value || *value < 0 || *value > 24) return std::nullopt;
    return value;
}

// "START-END", hours 0..24.
bool parseHours(const std::string& text, Options& options) {
    const auto dash = text.find('-');
    if (dash == std::string::npos) return false;
    options.startHour = hourOf(text.substr(0, dash));
    options.endHour = hourOf(text.substr(dash + 1));
    return options.startHour && options.endHour;
}

// The options that take no value.
bool Options::*flagNamed(const std::string& arg) {
    static constexpr struct {
        const char* name;
        bool Options::*flag;
    } kFlags[] = {{"--help", &Options::help},
                  {"-h", &Options::help},
                  {"--dry-run", &Options::dryRun},
                  {"--now", &Options::now},
                  {"--list-devices", &Options::listDevices},
                  {"--list-ports", &Options::listPorts},
                  {"--silent", &Options::silent},
                  {"--save-config", &Options::saveConfig}};
    for (const auto& f : kFlags) {
        if (arg == f.name) return f.flag;
    }
    return nullptr;
}

std::string joined(const std::vector<std::string>& words) {
    std::string text;
    for (std::size_t i = 0; i < words.size(); ++i)
        text += (i == 0 ? "" : i + 1 == words.size() ? " or " : ", ") + words[i];
    return text;
}

}  // namespace

std::optional<double> parseLocalDateTime(const std::string& text) {
    int year, month, day, hour, minute, consumed = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d%n", &year, &month, &day, &hour, &minute, &consumed) != 5 ||
        consumed != static_cast<int>(text.size())) {
        return std::nullopt;
    }
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) || hour < 0 || hour > 23 ||
        minute < 0 || minute > 59) {
        return std::nullopt;
    }
    return encodeDateTime(year, month, day, hour, minute);
}

std::optional<Options> parseCommandLine(int argc, const char* const* argv, std::string& error) {
    Options options;
    const std::vector<std::string> args(argv + 1, argv + argc);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (bool Options::*const flag = flagNamed(arg)) {
            options.*flag = true;
        } else if (arg == "--dir") {
            if (!hasValue || args[i + 1].empty()) {
                error = "--dir needs a folder";
                return std::nullopt;
            }
            options.dir = args[++i];
        } else if (arg == "--test-ptt" || arg == "--port") {
            if (!hasValue) {
                error = arg + " needs a port";
                return std::nullopt;
            }
            const std::string& value = args[++i];
            if (!portNumber(value)) {
                error = arg + " takes a port as \"COMn\" (see --list-ports), not \"" + value + "\"";
                return std::nullopt;
            }
            (arg == "--port" ? options.port : options.testPttPort) = value;
        } else if (arg == "--read-source") {
            if (i + 2 >= args.size() || args[i + 1].empty() || args[i + 2].empty()) {
                error = "--read-source needs a kind and a path or address";
                return std::nullopt;
            }
            options.readSourceKind = args[++i];
            options.readSourcePath = args[++i];
            std::vector<std::string> kinds = readSourceKinds();
            for (const char* web : {"metar", "aprs", "piu"}) kinds.emplace_back(web);
            if (std::find(kinds.begin(), kinds.end(), options.readSourceKind) == kinds.end()) {
                error = "--read-source takes the kind " + joined(kinds) + ", not \"" + options.readSourceKind + "\"";
                return std::nullopt;
            }
        } else if (arg == "--at" || arg == "--period" || arg == "--hours" || arg == "--render") {
            if (!hasValue) {
                error = arg + " needs a value";
                return std::nullopt;
            }
            const std::string& value = args[++i];
            if (arg == "--at" && !(options.at = parseLocalDateTime(value))) {
                error = "--at takes a local time as \"YYYY-MM-DD HH:MM\", not \"" + value + "\"";
                return std::nullopt;
            }
            if (arg == "--period" && !(options.periodIndex = periodIndexOf(value))) {
                error = "--period takes 0, 5, 10, 15, 20, 30 or 60 minutes, not \"" + value + "\"";
                return std::nullopt;
            }
            if (arg == "--render") {
                if (value.empty()) {
                    error = "--render needs a file name";
                    return std::nullopt;
                }
                options.renderPath = value;
            }
            if (arg == "--hours" && !parseHours(value, options)) {
                error = "--hours takes START-END, hours 0 to 24 (22-06 wraps past midnight), not \"" + value + "\"";
                return std::nullopt;
            }
        } else {
            error = "unknown option \"" + arg + "\"";
            return std::nullopt;
        }
    }
    if (options.dryRun && !options.renderPath.empty()) {
        error = "--dry-run and --render exclude each other";
        return std::nullopt;
    }
    if (options.at && !options.dryRun && options.renderPath.empty() && options.readSourceKind.empty()) {
        error = "--at goes with --dry-run, --render or --read-source";
        return std::nullopt;
    }
    return options;
}

std::string usageText() {
    return "Usage: tintal [options]\n"
           "The French talking clock for amateur-radio stations.\n"
           "\n"
           "  (no option)        run the clock: announce on schedule on the default sound device, with the\n"
           "                     settings of tintal.ini in the working folder (saved back at the end)\n"
           "  --dir FOLDER       the working folder: tintal.ini, tintal.log and the weather files\n"
           "                     (default: $XDG_CONFIG_HOME/tintal, or ~/.config/tintal; made when missing)\n"
           "  --save-config      check tintal.ini: print each line it cannot take (line number, line, why),\n"
           "                     save it back when it could be read; status 1 when unreadable or lines\n"
           "                     were not taken\n"
           "  --silent           with the clock or --now: print each clip as it starts instead of playing it\n"
           "  --now              speak the announcement now on the default sound device and exit\n"
           "  --list-devices     list the sound output devices\n"
           "  --check-voice [FOLDER]\n"
           "                     list the clips a voice folder replaces (default: voix in the working\n"
           "                     folder), those left built in, and the files it cannot use and why\n"
           "  --verbose          show the sound library's own messages\n"
           "  --list-ports       list the serial ports (COMn names; see docs/serial-ports.md)\n"
           "  --port COMn        with the clock or --now: key DTR and RTS of this port while speaking,\n"
           "                     stay quiet while DCD is on, speak when CTS or DSR rises\n"
           "  --test-ptt COMn    key DTR and RTS of this port for one second, then release them\n"
           "  --dry-run          print the clips of an announcement made now, one per line, and exit: the\n"
           "                     settings of tintal.ini and its weather source, read or fetched first;\n"
           "                     nothing is keyed, sent, or written to tintal.ini or tintal.log\n"
           "  --render FILE.wav  the same announcement written to a WAV file, as it would be heard\n"
           "  --at \"YYYY-MM-DD HH:MM\"\n"
           "                     with --dry-run or --render: the local time of that announcement;\n"
           "                     with --read-source: the clock the source reads by\n"
           "  --period MIN       announce every MIN minutes: 0 (never), 5, 10, 15, 20, 30 or 60\n"
           "  --hours START-END  announce only from hour START to hour END (0 to 24; 22-06 wraps)\n"
           "  --read-source KIND PATH\n"
           "                     print what the source window shows after one read of PATH: each caption\n"
           "                     (\" [rouge]\" when out of limits), the date and the error; status 0 when\n"
           "                     the error is empty. KIND: w23, w28 (history.dat), pro2 (.wlk archive),\n"
           "                     mon (a script of Weather Monitor II figures, one read per line:\n"
           "                     insideF outsideF inHg trend mph degrees), or metar, aprs, piu (PATH a local\n"
           "                     document or an http(s) address; exports go to the current folder and to\n"
           "                     $XDG_DATA_HOME/tintal/weather)\n"
           "  --help             this text\n";
}

}  // namespace tintal
