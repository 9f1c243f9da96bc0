#include "app/posix_composition.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "app/posix_sound_modes.h"
#include "platform/file_path.h"
#include "platform/posix/program_files.h"
#include "radio/serial_port_list.h"
#include "shell/read_web_source.h"

namespace tintal {

namespace {

// The cuckoo sound is installed beside the program; a copy in the working folder takes precedence.
std::string defaultCuckooPath() {
    const std::string name = "tintal.wav";
    if (std::filesystem::exists(fsPath(name))) return name;
    const std::string folder = programFolder();
    const std::string installed = pathIn(folder, name);
    if (!folder.empty() && std::filesystem::exists(fsPath(installed))) return installed;
    return name;
}

std::string quotedArgument(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

double localNow() {
    PosixEventLoop clock;
    return clock.localNow();
}

std::optional<std::string> enterWorkingFolder(const Options& options) {
    const std::string folder = workingFolderPath(options.dir);
    std::string error;
    const std::optional<std::string> entered = enterFolder(folder, error);
    if (!entered) std::cerr << "tintal: cannot use the folder " << folder << ": " << error << '\n';
    return entered;
}

std::string makeExportFolder() {
    const std::string folder = linuxWebExportFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    if (!folder.empty()) makeFolder(folder);
    return folder;
}

void applyOptions(TForm1& form, const Options& options) {
    if (form.cuckooFilePath == "tintal.wav") form.cuckooFilePath = defaultCuckooPath();
    if (options.periodIndex) form.UpDownPeriode.setValue(*options.periodIndex);
    if (options.startHour) form.HourMenuItems[*options.startHour]->click();
    if (options.endHour) form.HourMenuItems[25 + *options.endHour]->click();
}

LinuxPorts::LinuxPorts(const std::string& folder, EventLoop* loop)
    : downloader(loop), autostart("--dir " + quotedArgument(folder)), exportFolder(makeExportFolder()) {}

ProgramPorts LinuxPorts::ports(EventLoop& loop, ClipPlayer& player, AudioDevice& device) {
    return {loop,     desktop,    player, device,    library, lines,       channel,
            recorder, downloader, files,  autostart, "",      exportFolder};
}

Speaking::Speaking(EventLoop& loop, Desktop& desktop, const std::string& folder, bool silent)
    : card(loop),
      clips(builtIn, voiceFolderPath(folder)),
      wave(loop, card, clips, desktop),
      sounding(wave, loop),
      listing(
          loop, [&loop](const ClipRequest& clip) { printClip(loop, clip.name); }, 700),
      silent(silent) {}

LinuxProgram::LinuxProgram(PosixEventLoop& loop, const std::string& folder, const Options& options)
    : host(folder, &loop),
      speaking(loop, host.desktop, folder, options.silent),
      program(host.ports(loop, speaking.player(), speaking.device())) {
    program.form.onLoadSettings = [this, &options] {
        program.settings.LoadConfig();
        applyOptions(program.form, options);
        if (const auto number = portNumber(options.port)) program.radio.com().restorePort(*number);
    };
}

}  // namespace tintal
