#pragma once
#include <string>

#include "core/clip_player.h"
#include "platform/event_loop.h"

namespace tintal {

// A clip as it starts, after the clock's time, on stdout.
void printClip(EventLoop& loop, const std::string& clip);

// Prints each clip as it starts, then lets the real player sound it.
class AnnouncingPlayer : public ClipPlayer {
public:
    AnnouncingPlayer(ClipPlayer& inner, EventLoop& loop) : inner_(inner), loop_(loop) {}
    void setHost(PlayerHost* host) override { inner_.setHost(host); }
    void playClip(const std::string& name) override { say(name), inner_.playClip(name); }
    void playFile(const std::string& path) override { say(path), inner_.playFile(path); }
    bool clipPlaying() const override { return inner_.clipPlaying(); }
    void releaseDevice() override { inner_.releaseDevice(); }
    void markIdle() override { inner_.markIdle(); }
    void setOutputDevice(int device) override { inner_.setOutputDevice(device); }
    std::string allocateMemory() override { return inner_.allocateMemory(); }
    void freeMemory() override { inner_.freeMemory(); }

private:
    void say(const std::string& clip) {
        if (!inner_.clipPlaying()) printClip(loop_, clip);
    }
    ClipPlayer& inner_;
    EventLoop& loop_;
};

}  // namespace tintal
