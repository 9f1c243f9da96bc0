#pragma once
// The whole program over fakes and virtual time, started as the Windows program starts it.
#include <string>

#include "base/date_time.h"
#include "fakes/fake_audio_device.h"
#include "fakes/fake_autostart.h"
#include "fakes/fake_clip_player.h"
#include "fakes/fake_companion_channel.h"
#include "fakes/fake_downloader.h"
#include "fakes/fake_durable_files.h"
#include "fakes/fake_recorder_link.h"
#include "fakes/fake_serial_lines.h"
#include "fakes/fake_station_library.h"
#include "fakes/temp_folder.h"
#include "platform/virtual_event_loop.h"
#include "shell/tintal_program.h"

namespace tintal {

struct ProgramRig {
    explicit ProgramRig(double start = encodeDateTime(2026, 12, 8, 10, 0, 30))
        : loop(start), audio(loop), player(loop), channel(objects, "tintal"), recorder(loop) {}

    // The program starts and its first tick loads the settings.
    TintalProgram& start() {
        program = std::make_unique<TintalProgram>(ProgramPorts{loop, desktop, player, audio, station, lines, channel,
                                                               recorder, downloader, files, autostart, "", ""});
        program->start();
        loop.advance(600);
        return *program;
    }
    std::string ini() const { return files.text("tintal.ini"); }

    // The program's own working files (downloads, exports) are real files in the working folder.
    InPrivateFolder workingFolder;
    VirtualEventLoop loop;
    FrenchDesktop desktop;
    FakeAudioDevice audio;
    FakeClipPlayer player;
    FakeStationLibrary station;
    FakeSerialLines lines;
    FakeCompanionObjects objects;
    FakeCompanionChannel channel;
    FakeRecorderLink recorder;
    FakeDownloader downloader;
    FakeDurableFiles files;
    FakeAutostart autostart;
    std::unique_ptr<TintalProgram> program;
};

}  // namespace tintal
