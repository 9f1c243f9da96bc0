// The clock itself: announcements on the sound card until a signal or the menu ends it.
#include <cstdio>
#include <iostream>

#include "app/posix_commands.h"
#include "app/posix_composition.h"
#include "platform/posix/stop_signals.h"

namespace tintal {

int runClock(const Options& options, double) {
    const std::optional<std::string> folder = enterWorkingFolder(options);
    if (!folder) return 1;
    StopSignals signals;
    PosixEventLoop loop;
    LinuxProgram station(loop, *folder, options);
    TintalProgram& program = station.program;
    program.onCloseRequested = [&] { loop.quit(); };
    program.form.EditData.onChange = [&] { std::fprintf(stderr, "%s\n", program.form.EditData.text().c_str()); };
    std::cerr << "tintal: settings in " << *folder << "/tintal.ini\n";
    program.start();
    if (const std::string report = station.speaking.clips.statusText(); !report.empty())
        program.form.EditData.setText(report);
    // A signal ends a download at once (the window thread may be waiting on it) and hands the stop to
    // the window thread.
    signals.watch([&] {
        station.host.downloader.stop();
        loop.post([&loop] { loop.quit(); });
    });
    loop.run();
    program.close();
    signals.stop();
    return 0;
}

}  // namespace tintal
