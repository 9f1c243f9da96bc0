#pragma once
// How late after each wall-clock second the clock's tick runs: the main window's clock on one
// system's event loop for 60 ticks, each tick's wall-clock instant read as it starts. Target: within
// 20 ms after the second, so that the announcement of hh:mm starts within 20 ms after hh:mm:00.
// Prints the figures; run with `make bench`.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "base/date_time.h"
#include "core/listing_player.h"
#include "core/tform1.h"
#include "platform/desktop.h"
#include "platform/null_audio_device.h"

namespace tintal {

template <class Loop>
int runTickBench(const char* system) {
    constexpr int kTicks = 60;
    Loop loop;
    FrenchDesktop desktop;
    NullAudioDevice audio;
    ListingPlayer player(
        loop, [](const ClipRequest&) {}, 0);
    StationHooks hooks;
    TForm1 form({loop, desktop, player, audio, hooks, {}});
    std::vector<double> lateMs;
    const auto tick = form.TimerSeconde.onTimer;
    form.TimerSeconde.onTimer = [&] {
        const double now = loop.localNow();
        const double msInSecond = std::fmod((now - std::floor(now)) * kMsPerDay, 1000.0);
        // The start-up tick comes half a second after creation, as it should; count the others.
        // A tick just before a second counts as early (negative).
        if (!form.ConfigPending) lateMs.push_back(msInSecond > 500 ? msInSecond - 1000 : msInSecond);
        tick();
        if (lateMs.size() == kTicks) loop.quit();
    };
    std::printf("tick lateness after the second on %s, %d ticks (about a minute)...\n", system, kTicks);
    std::fflush(stdout);
    form.FormCreate();
    loop.run();
    form.FormClose();
    std::sort(lateMs.begin(), lateMs.end());
    const double median = lateMs[lateMs.size() / 2];
    std::printf("tick lateness: min %.1f  median %.1f  max %.1f ms   (target: within 20 ms after the second) %s\n",
                lateMs.front(), median, lateMs.back(), lateMs.front() >= 0 && lateMs.back() <= 20.0 ? "OK" : "MISSED");
    return 0;
}

}  // namespace tintal
