// --now: one announcement on the sound card, in real time, with the settings of the working folder
// (which it leaves as they are).
#include <iostream>

#include "app/posix_commands.h"
#include "app/posix_composition.h"
#include "app/posix_sound_modes.h"

namespace tintal {

namespace {

int reportEnd(const std::string& status) {
    if (status == "TINTAL_DONE") return 0;
    if (const auto advice = soundDeviceAdvice(status)) return std::cerr << *advice, 1;
    std::cerr << "tintal: the announcement did not complete: " << status << '\n';
    return 1;
}

}  // namespace

int speakNow(const Options& options, double) {
    const std::optional<std::string> folder = enterWorkingFolder(options);
    if (!folder) return 1;
    PosixEventLoop loop;
    LinuxProgram station(loop, *folder, options);
    TintalProgram& program = station.program;
    program.form.onSaveSettings = nullptr;
    program.start();
    // The weather fetch of the start comes right after the load: the announcement waits for it.
    while (program.form.ConfigPending || program.web.downloading()) loop.pump(100);
    TForm1& form = program.form;
    // The end's own status: the companion link may write its own right after it.
    std::string status;
    form.EditData.onChange = [&] {
        const std::string& text = form.EditData.text();
        if (!status.empty() || (text != "TINTAL_DONE" && text.rfind("Err", 0) != 0)) return;
        status = text;
        loop.quit();
    };
    form.Button1.click();
    if (form.announcing) loop.run();
    program.close();
    return reportEnd(status.empty() ? form.EditData.text() : status);
}

}  // namespace tintal
