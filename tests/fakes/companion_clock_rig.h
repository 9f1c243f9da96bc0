#pragma once
// A whole clock (main window, sequencer, listener thread) on a real event loop of this process, its
// companion link on a real channel, for tests where the companion peer runs as a process of its own.
#include "core/tform1.h"
#include "fakes/fake_audio_device.h"
#include "fakes/fake_clip_player.h"
#include "fakes/fake_serial_lines.h"
#include "fakes/radio_rig.h"
#include "platform/companion_channel.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/recorder_link.h"
#include "radio/radio_station.h"

namespace tintal {

// Pumps the loop until done() holds, at most limitMs.
template <typename Predicate>
bool pumpUntil(EventLoop& loop, Predicate done, int limitMs) {
    for (int waited = 0; !done() && waited < limitMs; waited += 20) loop.pump(20);
    return done();
}

// The clock is created and configured on construction, closed on destruction; its clips play in
// clipMs each.
template <typename Loop, typename Channel>
struct CompanionClockRig {
    CompanionClockRig(const CompanionNames& names, int clipMs)
        : channel(names),
          player(loop, clipMs),
          radio({loop, desktop, files, lines, channel, recorder}),
          form({loop, desktop, player, audio, radio, {}}) {
        radio.attach(form);
        form.FormCreate();
        pumpUntil(
            loop, [&] { return !form.ConfigPending; }, 3000);
    }
    ~CompanionClockRig() { form.FormClose(); }

    template <typename Process>
    bool runUntilEnded(Process& peer, int limitMs) {
        return pumpUntil(
            loop, [&] { return peer.ended(); }, limitMs);
    }

    Loop loop;
    FrenchDesktop desktop;
    ListedFiles files;
    FakeSerialLines lines;
    Channel channel;
    AbsentRecorderLink recorder;
    FakeAudioDevice audio{loop};
    FakeClipPlayer player;
    RadioStation radio;
    TForm1 form;
};

}  // namespace tintal
