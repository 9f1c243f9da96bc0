// The Linux clock: the same announcements as the Windows program, on a console.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <thread>

#include "shell/command_line.h"
#include "base/date_time.h"
#include "core/listing_player.h"
#include "core/tform1.h"
#include "platform/null_audio_device.h"
#include "platform/posix/posix_event_loop.h"
#include "platform/virtual_event_loop.h"

using namespace tintal;

namespace {

// The settings a command line may give, applied as a user would set the controls.
void applyOptions(TForm1& form, const Options& options) {
    if (options.periodIndex) form.UpDownPeriode.setValue(*options.periodIndex);
    if (options.startHour) form.HourMenuItems[*options.startHour]->click();
    if (options.endHour) form.HourMenuItems[25 + *options.endHour]->click();
}

int dryRun(const Options& options, double at) {
    VirtualEventLoop loop(at);
    FrenchDesktop desktop;
    StationHooks hooks;
    NoWeather weather;
    ListingPlayer player(loop, [](const ClipRequest& clip) { std::cout << clip.name << '\n'; }, 700);
    NullAudioDevice audio;
    TForm1 form({loop, desktop, player, audio, hooks, weather});
    form.onLoadSettings = [&] { applyOptions(form, options); };
    form.FormCreate();
    loop.advanceUntil([&] { return !form.ConfigPending; }, 5000);
    form.Button1.click();
    const bool ended = loop.advanceUntil([&] { return !form.announcing; }, 600000, 100);
    const std::string status = form.EditData.text();
    form.FormClose();
    if (!ended || status != "TINTAL_DONE") {
        std::cerr << "tintal: the announcement did not complete: " << status << '\n';
        return 1;
    }
    return 0;
}

PosixEventLoop* runningLoop = nullptr;

// Signals are taken by a thread of their own, which hands the stop to the window thread.
std::thread startSignalWatcher(sigset_t signals) {
    return std::thread([signals] {
        int signal = 0;
        sigwait(&signals, &signal);
        if (runningLoop) runningLoop->post([] { runningLoop->quit(); });
    });
}

int runClock(const Options& options) {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    PosixEventLoop loop;
    runningLoop = &loop;
    FrenchDesktop desktop;
    StationHooks hooks;
    NoWeather weather;
    ListingPlayer player(
        loop,
        [&](const ClipRequest& clip) {
            const DateTimeFields t = decodeDateTime(loop.localNow());
            std::printf("%02d:%02d:%02d %s\n", t.hour, t.minute, t.second, clip.name.c_str());
            std::fflush(stdout);
        },
        700);
    NullAudioDevice audio;
    TForm1 form({loop, desktop, player, audio, hooks, weather});
    form.onLoadSettings = [&] { applyOptions(form, options); };
    form.EditData.onChange = [&] { std::fprintf(stderr, "%s\n", form.EditData.text().c_str()); };
    form.FormCreate();
    std::thread watcher = startSignalWatcher(signals);
    loop.run();
    form.FormClose();
    runningLoop = nullptr;
    watcher.detach();  // it may still wait for a signal that will never come
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
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
    if (options->dryRun) {
        if (options->at) return dryRun(*options, *options->at);
        PosixEventLoop clock;
        return dryRun(*options, clock.localNow());
    }
    return runClock(*options);
}
