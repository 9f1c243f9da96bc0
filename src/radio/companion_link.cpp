#include "radio/companion_link.h"

#include "radio/companion_message.h"

namespace tintal {

CompanionLink::CompanionLink(CompanionChannel& channel, EventLoop& loop, Desktop& desktop, CompanionWindow window)
    : channel_(channel),
      loop_(loop),
      desktop_(desktop),
      window_(std::move(window)),
      self_(std::make_shared<CompanionLink*>(this)) {}

CompanionLink::~CompanionLink() {
    windowGone_ = true;
    stopHelloTimer();
    disconnectCompanion();
}

CompanionStatus CompanionLink::connectCompanion() {
    if (channel_.isOpen()) disconnectCompanion();
    const CompanionStatus status = channel_.open();
    if (!status) return status;
    EventLoop* loop = &loop_;
    std::weak_ptr<CompanionLink*> self = self_;
    listener_ = std::make_unique<TListener>(
        channel_,
        [loop, self](std::string text) {
            loop->post([self, text = std::move(text)] {
                if (const auto link = self.lock()) (*link)->received(text);
            });
        },
        [loop, self](std::string error) {
            loop->post([self, error = std::move(error)] {
                if (const auto link = self.lock()) (*link)->desktop_.errorBox(error);
            });
        });
    sendCompanionMessage(kTintalConnected);
    show(std::string(kTintalConnected));
    return status;
}

void CompanionLink::disconnectCompanion() {
    if (!channel_.isOpen()) return;
    stopHelloTimer();
    if (listener_) listener_->Terminate();
    sendCompanionMessage(kTintalDisconnected);
    listener_.reset();  // bounded wait for its end
    channel_.close();
}

void CompanionLink::reconnectCompanion() {
    const bool wasConnected = channel_.isOpen();
    disconnectCompanion();
    if (wasConnected) loop_.pump(kReconnectGapMs);
    connectCompanion();
}

void CompanionLink::sendCompanionMessage(std::string_view text) {
    if (!channel_.isOpen()) return;
    const CompanionStatus status = channel_.send(encodeCompanionMessage(text));
    if (!status && status.error == kCompanionWriteViewError && !windowGone_) window_.EditData.setText(status.error);
}

void CompanionLink::show(const std::string& text) {
    // An error in the status line stays until something replaces it on purpose.
    if (window_.EditData.text().starts_with("Err")) return;
    window_.EditData.setText(text);
}

void CompanionLink::received(const std::string& text) {
    lastCompanionMessage = text;
    show(text);
    const CompanionRequests requests = companionRequests(text);
    if (requests.hello) {
        // The answer waits a little, as the companion expects; a PLAY in the same message follows it.
        stopHelloTimer();
        helloTimer_ = loop_.startTimer(kHelloAnswerDelayMs, [this, play = requests.play] {
            stopHelloTimer();
            answerHello(play);
        });
    } else if (requests.play) {
        window_.requestAnnouncement();
    }
}

void CompanionLink::answerHello(bool thenPlay) {
    if (window_.announcing()) {
        sendCompanionMessage(kTintalOccupied);
        // Deaf until the reconnect that follows the announcement.
        if (listener_) listener_->Terminate();
    } else {
        sendCompanionMessage(kTintalReady);
    }
    if (thenPlay) window_.requestAnnouncement();
}

void CompanionLink::stopHelloTimer() {
    if (helloTimer_ != 0) loop_.stopTimer(helloTimer_);
    helloTimer_ = 0;
}

}  // namespace tintal
