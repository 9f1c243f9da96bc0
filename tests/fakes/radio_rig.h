#pragma once
// A main window wired to the real radio side, on virtual time, with fake serial lines, an in-memory
// companion channel (a second channel on the same objects plays the companion) and a scripted recorder.
#include <chrono>
#include <set>
#include <string>
#include <thread>

#include "base/date_time.h"
#include "core/tform1.h"
#include "fakes/fake_audio_device.h"
#include "fakes/fake_clip_player.h"
#include "fakes/fake_companion_channel.h"
#include "fakes/fake_recorder_link.h"
#include "fakes/fake_serial_lines.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/virtual_event_loop.h"
#include "radio/radio_station.h"

namespace tintal {

// Files that exist because the test says so, and have no content.
struct ListedFiles : Files {
    bool exists(const std::string& path) override { return present.contains(path); }
    bool canRead(const std::string& path) override { return exists(path); }
    bool isFolder(const std::string&) override { return false; }
    std::optional<std::vector<std::uint8_t>> read(const std::string&) override { return std::nullopt; }
    std::optional<std::vector<std::uint8_t>> readShared(const std::string&) override { return std::nullopt; }
    bool write(const std::string&, std::string_view) override { return false; }
    void remove(const std::string& path) override { present.erase(path); }
    std::optional<std::chrono::system_clock::time_point> modifiedAt(const std::string&) override {
        return std::nullopt;
    }
    std::set<std::string> present;
};

struct RadioRig {
    explicit RadioRig(double start = encodeDateTime(2026, 12, 1, 21, 1, 0))
        : loop(start),
          audio(loop),
          player(loop, 1000),
          recorderLink(loop),
          radio({loop, desktop, files, lines, channel, recorderLink}),
          form({loop, desktop, player, audio, radio, {}}) {
        radio.attach(form);
    }
    ~RadioRig() { radio.companion().disconnectCompanion(); }

    // FormCreate and the first tick (the start-up routine).
    void start() {
        form.FormCreate();
        loop.advance(500);
    }
    // Chooses a port in the COM window as a user does.
    void choosePort(const std::string& name) {
        form.MenuCOM.click();
        radio.com().ListBoxCOM.setItemIndex(radio.com().ListBoxCOM.indexOf(name));
    }
    bool announceNow(std::int64_t limitMs = 300000) {
        form.Button1.click();
        return finish(limitMs);
    }
    bool finish(std::int64_t limitMs = 300000) {
        return loop.advanceUntil([this] { return !form.announcing; }, limitMs);
    }
    // Runs the window thread's posted work until done() holds: the companion listener is a real
    // thread, so this waits in real time, at most two seconds.
    template <typename Predicate>
    bool settle(Predicate done) {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (!done() && std::chrono::steady_clock::now() < limit) {
            loop.processPending();
            std::this_thread::yield();
        }
        loop.processPending();
        return done();
    }
    // The companion's side sends a text once the clock's listener waits for it.
    bool companionSays(const std::string& text) {
        if (!objects.waitForWaiters(1, 2000)) return false;
        return static_cast<bool>(companion.sendText(text));
    }
    std::vector<std::string> clockSent() const { return objects.sentTexts("clock"); }

    VirtualEventLoop loop;
    FrenchDesktop desktop;
    ListedFiles files;
    FakeAudioDevice audio;
    FakeClipPlayer player;
    FakeSerialLines lines;
    FakeCompanionObjects objects;
    FakeCompanionChannel channel{objects, "clock"};
    FakeCompanionChannel companion{objects, "companion"};
    FakeRecorderLink recorderLink;
    RadioStation radio;
    TForm1 form;
};

}  // namespace tintal
