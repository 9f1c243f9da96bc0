#pragma once
// The measurement probes' player host: plays clips one after the other, each started from the
// previous one's end as an announcement chains them, then quits the loop.
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "core/clip_player.h"
#include "core/wave_player.h"
#include "platform/event_loop.h"

namespace tintal {

class ClipChain : public PlayerHost {
public:
    ClipChain(EventLoop& loop, ClipPlayer& player, std::vector<std::string> names)
        : loop_(loop), player_(player), names_(std::move(names)) {
        player_.setHost(this);
    }
    void start() {
        loop_.post([this] { next(); });
    }
    void clipFinished() override { next(); }
    void clipFailed(const std::string& text) override {
        error = text;
        loop_.quit();
    }
    std::string error;

private:
    void next() {
        if (index_ == names_.size()) return loop_.quit();
        const std::string& name = names_[index_++];
        if (name.ends_with(".wav")) return player_.playFile(name);
        player_.playClip(name);
    }
    EventLoop& loop_;
    ClipPlayer& player_;
    std::vector<std::string> names_;
    std::size_t index_ = 0;
};

// A probe's whole program over one system's adapters: play_probe clip NAME... (a NAME ending in
// .wav is played as a file).
// Exits 0 when every clip played, 1 with the player's text otherwise, 2 on a bad command line.
template <class Loop, class Device, class Clips, class Desk>
int runPlayProbe(int argc, char** argv) {
    if (argc < 3 || std::string(argv[1]) != "clip") return std::fprintf(stderr, "usage: play_probe clip NAME...\n"), 2;
    Loop loop;
    Desk desktop;
    Device audio(loop);
    Clips clips;
    WavePlayer player(loop, audio, clips, desktop);
    ClipChain chain(loop, player, {argv + 2, argv + argc});
    chain.start();
    loop.run();
    if (!chain.error.empty()) std::fprintf(stderr, "%s\n", chain.error.c_str());
    return chain.error.empty() ? 0 : 1;
}

}  // namespace tintal
