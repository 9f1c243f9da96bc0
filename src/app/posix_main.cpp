// The Linux clock: the same announcements as the Windows program, on a console. Parses the command
// line and runs the first command it asks for; the clock itself when it asks for none.
#include <iostream>
#include <optional>
#include <string>

#include "app/posix_commands.h"
#include "app/posix_composition.h"
#include "app/posix_sound_modes.h"

using namespace tintal;

namespace {

struct Command {
    bool (*wanted)(const Options&);
    int (*run)(const Options&, double at);
};

// In order of precedence when several are given.
constexpr Command kCommands[] = {
    {[](const Options& o) { return !o.readSourceKind.empty(); }, readSourceOnce},
    {[](const Options& o) { return o.listDevices; }, listDevices},
    {[](const Options& o) { return o.listPorts; }, listPorts},
    {[](const Options& o) { return !o.testPttPort.empty(); }, testPtt},
    {[](const Options& o) { return o.saveConfig; }, saveConfig},
    {[](const Options& o) { return o.now; }, speakNow},
    {[](const Options& o) { return o.dryRun || !o.renderPath.empty(); }, preview},
    {[](const Options&) { return true; }, runClock},
};

}  // namespace

int main(int argc, char** argv) {
    if (const auto status = runSoundModes(argc, argv)) return *status;
    std::string error;
    const std::optional<Options> options = parseCommandLine(argc, argv, error);
    if (!options) {
        std::cerr << "tintal: " << error << "\n" << usageText();
        return 2;
    }
    if (options->help) {
        std::cout << usageText();
        return 0;
    }
    const double at = options->at ? *options->at : localNow();
    for (const Command& command : kCommands) {
        if (command.wanted(*options)) return command.run(*options, at);
    }
    return 0;
}
