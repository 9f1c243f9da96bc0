// --save-config: loads tintal.ini into the controls and saves them back, as a start and a save from the
// menu do, reporting what it could not take.
#include <unistd.h>

#include <iostream>

#include "app/posix_commands.h"
#include "app/posix_composition.h"
#include "platform/posix/offline_downloader.h"
#include "platform/virtual_event_loop.h"
#include "shell/settings_check.h"

namespace tintal {

int saveConfig(const Options& options, double) {
    const std::optional<std::string> folder = enterWorkingFolder(options);
    if (!folder) return 1;
    VirtualEventLoop loop(localNow());
    LinuxPorts host(*folder, nullptr);
    OfflineDownloader offline;
    PosixCompanionChannel privateChannel(CompanionNames::withSuffix(".check" + std::to_string(getpid())));
    NullAudioDevice device;
    ListingPlayer player(
        loop, [](const ClipRequest&) {}, 0);
    // ProgramPorts holds references: the check's own channel and downloader are put in at construction.
    const ProgramPorts base = host.ports(loop, player, device);
    TintalProgram program({base.loop, base.desktop, base.player, base.audio, base.stationLibrary, base.serialLines,
                           privateChannel, base.recorder, offline, base.durableFiles, base.autostart,
                           base.workingFolder, base.exportFolder});
    program.start();
    loop.advanceUntil([&] { return !program.form.ConfigPending; }, 5000);
    const int status = checkAndSaveSettings(program, *folder + "/tintal.ini", std::cout, std::cerr);
    program.form.onSaveSettings = nullptr;
    program.close();
    return status;
}

}  // namespace tintal
