#pragma once
// A player for tests: records every clip asked for, "plays" each for a set virtual time, and can
// be told to fail a clip with an error text or to never finish one.
#include <map>
#include <string>
#include <vector>

#include "core/clip_player.h"
#include "core/listing_player.h"
#include "platform/event_loop.h"

namespace tintal {

class FakeClipPlayer : public ClipPlayer {
public:
    FakeClipPlayer(EventLoop& loop, int clipMs = 1000) : loop_(loop), clipMs_(clipMs) {}
    ~FakeClipPlayer() override { markIdle(); }

    void setHost(PlayerHost* host) override { host_ = host; }
    void playClip(const std::string& name) override { play({false, name}); }
    void playFile(const std::string& path) override { play({true, path}); }
    bool clipPlaying() const override { return playing_; }
    void releaseDevice() override { ++releases; }
    void markIdle() override;
    void setOutputDevice(int device) override { outputDevice = device; }
    int outputDevice = -1;

    // Names (as formed, clip names or file paths) of the clips asked for, in order.
    std::vector<std::string> names() const;
    std::vector<ClipRequest> requests;
    std::vector<std::int64_t> startedAt;          // monotonic ms of each request
    std::map<std::string, std::string> failures;  // name -> error text
    std::string hangOn;                           // this clip never finishes
    int releases = 0;
    int ignoredWhilePlaying = 0;

private:
    void play(ClipRequest request);
    EventLoop& loop_;
    int clipMs_;
    PlayerHost* host_ = nullptr;
    bool playing_ = false;
    EventLoop::TimerId timer_ = 0;
};

}  // namespace tintal
