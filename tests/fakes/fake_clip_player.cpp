#include "fakes/fake_clip_player.h"

namespace tintal {

void FakeClipPlayer::play(ClipRequest request) {
    if (playing_) {
        ++ignoredWhilePlaying;
        return;
    }
    requests.push_back(request);
    startedAt.push_back(loop_.monotonicMs());
    if (auto failure = failures.find(request.name); failure != failures.end()) {
        if (host_) host_->clipFailed(failure->second);
        return;
    }
    playing_ = true;
    if (request.name == hangOn) return;
    timer_ = loop_.startTimer(clipMs_, [this] {
        markIdle();
        loop_.pump(50);
        if (host_) host_->clipFinished();
    });
}

void FakeClipPlayer::markIdle() {
    if (timer_ != 0) loop_.stopTimer(timer_);
    timer_ = 0;
    playing_ = false;
}

std::vector<std::string> FakeClipPlayer::names() const {
    std::vector<std::string> out;
    for (const auto& r : requests) out.push_back(r.name);
    return out;
}

}  // namespace tintal
