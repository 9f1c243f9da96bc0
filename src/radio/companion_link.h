#pragma once
// The link with the companion program: connecting and disconnecting, the listener, the messages and
// what the window does with those it receives.
//
// Window thread only, except that the listener thread runs beside it; every effect of a received
// message is posted to the window thread, so nothing here is touched by two threads. While the
// listener runs it sends every message of the clock (it returns to its wait in the same step, so the
// companion's answer is never missed); without it the window thread sends them itself.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/companion_channel.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "radio/tlistener.h"
#include "widgets/text_field.h"

namespace tintal {

// What the link sees of the main window.
struct CompanionWindow {
    TextField& EditData;
    std::function<bool()> announcing;
    // The settings are not loaded yet: no announcement can start.
    std::function<bool()> settingsPending;
    // The companion asked for an announcement: mark the request and press the listen button.
    std::function<void()> requestAnnouncement;
};

class CompanionLink {
public:
    // The wait before answering "TINTAL_HELLO", and the least time between reading "TINTAL_PLAY" and
    // answering "TINTAL_DONE": the companion must be back in its wait to see the answer.
    static constexpr int kHelloAnswerDelayMs = 100;
    // Between "TINTAL déconnecté" and "TINTAL connecté": each message overwrites the last, so the
    // companion needs a moment to read the first.
    static constexpr int kReconnectGapMs = 100;

    CompanionLink(CompanionChannel& channel, EventLoop& loop, Desktop& desktop, CompanionWindow window);
    ~CompanionLink();
    CompanionLink(const CompanionLink&) = delete;
    CompanionLink& operator=(const CompanionLink&) = delete;

    // Opens the channel, starts the listener and says "TINTAL connecté". On failure (the system's
    // message in the status) the clock runs without a listener; the caller decides whether to tell.
    CompanionStatus connectCompanion();
    // Has the listener say "TINTAL déconnecté" and end, waits (bounded) for it, closes.
    void disconnectCompanion();
    void reconnectCompanion();
    // Sends one message; a block that cannot be mapped shows "Err: MapViewOfFile".
    void sendCompanionMessage(std::string_view text);
    // The end of an announcement the companion asked for: "TINTAL_DONE", and a listener that ended
    // meanwhile (after "TINTAL_OCCUPIED") is started again first, without a word, so the clock is
    // never left deaf.
    void answerDone();

    bool connected() const { return channel_.isOpen(); }
    // The listener runs and hears (it ends by itself after "TINTAL_OCCUPIED" or a failed read).
    bool listening() const { return listener_ && !deaf_ && !listener_->Finished(); }

    std::string lastCompanionMessage;

private:
    void startListener();
    void received(const std::string& text);
    void answerHelloLater(bool thenPlay);
    void answerHello(bool thenPlay);
    void show(const std::string& text);
    void showSendError(const std::string& error);
    void stopHelloTimer();

    CompanionChannel& channel_;
    EventLoop& loop_;
    Desktop& desktop_;
    CompanionWindow window_;
    std::unique_ptr<TListener> listener_;
    EventLoop::TimerId helloTimer_ = 0;
    // "TINTAL_OCCUPIED" went out: what the listener read before it ended is not acted on.
    bool deaf_ = false;
    // When the last "TINTAL_PLAY" was read (monotonic ms).
    std::int64_t playReadAtMs_ = -kHelloAnswerDelayMs;
    // Posted work checks it, so nothing runs on a link that is gone.
    std::shared_ptr<CompanionLink*> self_;
    // Set while the link is destroyed: the window may be gone already.
    bool windowGone_ = false;
};

}  // namespace tintal
