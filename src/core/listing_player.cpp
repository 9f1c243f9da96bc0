#include "core/listing_player.h"

#include "core/clip_catalogue.h"

namespace tintal {

ListingPlayer::ListingPlayer(EventLoop& loop, std::function<void(const ClipRequest&)> listener, int clipMs)
    : loop_(loop), listener_(std::move(listener)), clipMs_(clipMs) {}

ListingPlayer::~ListingPlayer() { markIdle(); }

void ListingPlayer::playClip(const std::string& name) {
    if (clipPlaying()) return;
    if (!isCatalogueClip(name)) {
        if (host_) host_->clipFailed("Err: Res Wave");
        return;
    }
    play({false, name});
}

void ListingPlayer::playFile(const std::string& path) {
    if (clipPlaying()) return;
    if (path.empty()) {
        if (host_) host_->clipFailed("Err: Fichier Wave");
        return;
    }
    play({true, path});
}

void ListingPlayer::play(ClipRequest request) {
    if (listener_) listener_(request);
    timer_ = loop_.startTimer(clipMs_, [this] { finished(); });
}

void ListingPlayer::finished() {
    markIdle();
    loop_.pump(50);  // the gap between two clips, as on a sound device
    if (host_) host_->clipFinished();
}

void ListingPlayer::markIdle() {
    if (timer_ != 0) loop_.stopTimer(timer_);
    timer_ = 0;
}

}  // namespace tintal
