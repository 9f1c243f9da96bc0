#pragma once
// The companion listener: a thread that waits for each pulse of the channel's event, reads the block
// and hands the text on, and that sends every message of the clock while it runs.
//
// A pulse reaches only the threads waiting at that moment, so the listener must never be out of its
// wait while a peer can write. Peers write only under the mutex; therefore the listener goes back to
// its wait only through the mutex: it takes it, looks whether the block changed since it last looked
// (a message that came while it was busy is read then), writes what the clock has to say, and gives
// the mutex back in the same step as it starts waiting. A peer that answers the instant it has read
// the clock's message is always heard, and the clock never reads its own messages.
//
// It never touches a window: its callbacks run on its own thread and must only post the work to the
// window thread. It ends when asked (Terminate), after a message sent with thenEnd, when the channel
// fails a wait, or after a read that cannot map the block (onReadFailed); messages still queued then
// are sent directly. Its state is shared with the thread, so an abandoned listener that has not ended
// yet (WaitFor timed out) never reaches freed memory of its own.
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "platform/companion_channel.h"

namespace tintal {

class TListener {
public:
    using OnMessage = std::function<void(std::string text)>;  // UTF-8
    using OnFailure = std::function<void(std::string error)>;

    // Starts the thread at once. The channel must outlive the thread.
    TListener(CompanionChannel& channel, OnMessage onMessage, OnFailure onReadFailed, OnFailure onSendFailed);
    // A send or a look waits for the mutex at most 3 s, so a listener asked to stop ends well within this.
    static constexpr int kStopWaitMs = 5000;

    // Terminates and waits at most kStopWaitMs; a thread still running then is left to end alone.
    ~TListener();
    TListener(const TListener&) = delete;
    TListener& operator=(const TListener&) = delete;

    // Queues a UTF-8 text for the thread to send, in order; with thenEnd the thread ends once it is out.
    // Any thread.
    void Send(std::string_view text, bool thenEnd = false);
    // Asks the thread to stop and ends its wait on the channel (no peer is woken). Any thread.
    void Terminate();
    // Waits at most ms for the thread to end; true once it has (it is then joined).
    bool WaitFor(int ms);
    bool Finished() const;

private:
    struct State;
    static void Execute(const std::shared_ptr<State>& state);

    std::shared_ptr<State> state_;
    std::thread thread_;
};

}  // namespace tintal
