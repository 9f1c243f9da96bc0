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
    startListener();
    sendCompanionMessage(kTintalConnected);
    show(std::string(kTintalConnected));
    return status;
}

void CompanionLink::startListener() {
    EventLoop* loop = &loop_;
    std::weak_ptr<CompanionLink*> self = self_;
    // Each effect runs on the window thread, and only while this link exists.
    const auto onWindow = [loop, self](auto action) {
        return [loop, self, action](std::string text) {
            loop->post([self, action, text = std::move(text)] {
                if (const auto link = self.lock()) action(**link, text);
            });
        };
    };
    deaf_ = false;
    listener_ = std::make_unique<TListener>(
        channel_, onWindow([](CompanionLink& link, const std::string& text) { link.received(text); }),
        onWindow([](CompanionLink& link, const std::string& error) { link.desktop_.errorBox(error); }),
        onWindow([](CompanionLink& link, const std::string& error) { link.showSendError(error); }));
}

void CompanionLink::disconnectCompanion() {
    if (!channel_.isOpen()) return;
    stopHelloTimer();
    if (listening()) {
        listener_->Send(kTintalDisconnected, true);
        listener_->WaitFor(TListener::kStopWaitMs);
    } else {
        sendCompanionMessage(kTintalDisconnected);
    }
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
    if (listening()) {
        listener_->Send(text);
        return;
    }
    // A listener on its way out says its last words first.
    if (listener_) listener_->WaitFor(TListener::kStopWaitMs);
    const CompanionStatus status = channel_.send(encodeCompanionMessage(text));
    if (!status) showSendError(status.error);
}

void CompanionLink::answerDone() {
    if (channel_.isOpen() && !listening()) {
        // Closed and opened again rather than only restarted: a listener that had to be stopped
        // leaves the channel's waits interrupted until the next open. The companion sees nothing.
        if (listener_) listener_->WaitFor(TListener::kStopWaitMs);
        listener_.reset();
        channel_.close();
        if (channel_.open()) startListener();
    }
    // An announcement with nothing to say ends at once: the answer waits as a HELLO's does.
    const std::int64_t since = loop_.monotonicMs() - playReadAtMs_;
    if (since < kHelloAnswerDelayMs) loop_.pump(static_cast<int>(kHelloAnswerDelayMs - since));
    sendCompanionMessage(kTintalDone);
}

void CompanionLink::showSendError(const std::string& error) {
    if (error == kCompanionWriteViewError && !windowGone_) window_.EditData.setText(error);
}

void CompanionLink::show(const std::string& text) {
    // An error in the status line stays until something replaces it on purpose.
    if (window_.EditData.text().starts_with("Err")) return;
    window_.EditData.setText(text);
}

void CompanionLink::received(const std::string& text) {
    if (deaf_) return;
    lastCompanionMessage = text;
    show(text);
    const CompanionRequests requests = companionRequests(text);
    if (requests.play) playReadAtMs_ = loop_.monotonicMs();
    if (requests.hello) {
        // The answer waits a little, as the companion expects; a PLAY in the same message follows it.
        answerHelloLater(requests.play);
    } else if (requests.play) {
        window_.requestAnnouncement();
    }
}

void CompanionLink::answerHelloLater(bool thenPlay) {
    stopHelloTimer();
    helloTimer_ = loop_.startTimer(kHelloAnswerDelayMs, [this, thenPlay] {
        stopHelloTimer();
        answerHello(thenPlay);
    });
}

void CompanionLink::answerHello(bool thenPlay) {
    // "TINTAL connecté" goes out before the settings are loaded: READY then would be followed by a
    // PLAY that cannot start, so the answer waits for them.
    if (!window_.announcing() && window_.settingsPending && window_.settingsPending()) {
        answerHelloLater(thenPlay);
        return;
    }
    if (window_.announcing()) {
        // The listener ends with this answer and nothing more of the message is acted on; the
        // announcement's end brings it back.
        if (listening()) {
            deaf_ = true;
            listener_->Send(kTintalOccupied, true);
        } else {
            sendCompanionMessage(kTintalOccupied);
        }
        return;
    }
    sendCompanionMessage(kTintalReady);
    if (thenPlay) window_.requestAnnouncement();
}

void CompanionLink::stopHelloTimer() {
    if (helloTimer_ != 0) loop_.stopTimer(helloTimer_);
    helloTimer_ = 0;
}

}  // namespace tintal
