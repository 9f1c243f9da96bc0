#pragma once
// The whole program on the real Win32 event loop, with fakes for every other port, for the tests that
// put its windows on a desktop.
#include "fakes/fake_audio_device.h"
#include "fakes/fake_autostart.h"
#include "fakes/fake_clip_player.h"
#include "fakes/fake_downloader.h"
#include "fakes/fake_durable_files.h"
#include "fakes/fake_serial_lines.h"
#include "fakes/fake_station_library.h"
#include "fakes/radio_rig.h"
#include "platform/win32/win32_event_loop.h"
#include "shell/tintal_program.h"

namespace tintal {

struct Win32ProgramRig {
    // channelName: the companion objects' own, so that two rigs never meet.
    explicit Win32ProgramRig(const char* channelName) : channel{objects, channelName} {}

    Win32EventLoop loop;
    FrenchDesktop desktop;
    FakeSerialLines lines;
    FakeCompanionObjects objects;
    FakeCompanionChannel channel;
    AbsentRecorderLink recorder;
    FakeAudioDevice audio{loop};
    FakeClipPlayer player{loop, 100};
    FakeStationLibrary station;
    FakeDownloader downloader;
    FakeDurableFiles files;
    FakeAutostart autostart;
    TintalProgram program{
        {loop, desktop, player, audio, station, lines, channel, recorder, downloader, files, autostart, "", ""}};
};

}  // namespace tintal
