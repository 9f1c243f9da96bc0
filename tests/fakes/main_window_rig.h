#pragma once
// A main window on virtual time with fake ports, started as the program starts it.
#include "base/date_time.h"
#include "core/tform1.h"
#include "fakes/fake_audio_device.h"
#include "fakes/fake_clip_player.h"
#include "platform/desktop.h"
#include "platform/virtual_event_loop.h"

namespace tintal {

struct RecordingHooks : StationHooks {
    bool carrier = false;
    bool portSelected = false;
    int keyed = 0, released = 0, handshakeMarks = 0, companionDone = 0, reconnects = 0, polls = 0;
    int recorderStarts = 0, recorderStops = 0;
    bool carrierBlocksStart() override { return carrier; }
    void markHandshakeLinesSeen() override { ++handshakeMarks; }
    bool transmitterPortSelected() override { return portSelected; }
    void keyTransmitter() override { ++keyed; }
    void releaseTransmitter() override { ++released; }
    bool serialPortOpen() override { return portSelected; }
    void pollLines() override { ++polls; }
    void startRecorder() override { ++recorderStarts; }
    void stopRecorder() override { ++recorderStops; }
    void sendCompanionDone() override { ++companionDone; }
    void reconnectCompanion() override { ++reconnects; }
};

struct MainWindowRig {
    explicit MainWindowRig(double start, int clipMs = 1000, std::vector<WeatherSource*> sources = {})
        : loop(start),
          audio(loop),
          player(loop, clipMs),
          form({loop, desktop, player, audio, hooks, std::move(sources)}) {}

    // FormCreate and the first tick (the start-up routine).
    void start() {
        form.FormCreate();
        loop.advance(500);
    }
    // Presses the listen button and lets the announcement run to its end (or the limit).
    bool announceNow(std::int64_t limitMs = 300000) {
        form.Button1.click();
        return loop.advanceUntil([this] { return !form.announcing; }, limitMs);
    }

    VirtualEventLoop loop;
    FrenchDesktop desktop;
    FakeAudioDevice audio;
    RecordingHooks hooks;
    FakeClipPlayer player;
    TForm1 form;
};

}  // namespace tintal
