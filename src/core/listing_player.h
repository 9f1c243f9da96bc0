#pragma once
// A player that sounds nothing: it reports each clip as it starts and finishes it after a set
// time on the event loop. An announcement thus becomes a list of clips (dry runs, the console clock).
#include <functional>
#include <string>

#include "core/clip_player.h"
#include "platform/event_loop.h"

namespace tintal {

struct ClipRequest {
    bool isFile;       // a sound file chosen by the user, else a recorded clip
    std::string name;  // the clip name as formed, or the file path
};

class ListingPlayer : public ClipPlayer {
public:
    ListingPlayer(EventLoop& loop, std::function<void(const ClipRequest&)> listener, int clipMs);
    ~ListingPlayer() override;

    void setHost(PlayerHost* host) override { host_ = host; }
    // Names that are not in the catalogue fail as the real player fails them.
    void playClip(const std::string& name) override;
    void playFile(const std::string& path) override;
    bool clipPlaying() const override { return timer_ != 0; }
    void releaseDevice() override { markIdle(); }
    void markIdle() override;
    void setOutputDevice(int) override {}

private:
    void play(ClipRequest request);
    void finished();

    EventLoop& loop_;
    std::function<void(const ClipRequest&)> listener_;
    int clipMs_;
    PlayerHost* host_ = nullptr;
    EventLoop::TimerId timer_ = 0;
};

}  // namespace tintal
