#include "radio/tlistener.h"

#include <atomic>
#include <chrono>

#include "radio/companion_message.h"

namespace tintal {

struct TListener::State {
    State(CompanionChannel& c, OnMessage message, OnReadFailed readFailed)
        : channel(c), onMessage(std::move(message)), onReadFailed(std::move(readFailed)) {}
    CompanionChannel& channel;
    OnMessage onMessage;
    OnReadFailed onReadFailed;
    std::atomic<bool> stopRequested{false};
    std::mutex mutex;
    std::condition_variable ended;
    bool finished = false;
    CompanionBlock block{};  // 64 KB: kept off the thread's stack
};

TListener::TListener(CompanionChannel& channel, OnMessage onMessage, OnReadFailed onReadFailed)
    : state_(std::make_shared<State>(channel, std::move(onMessage), std::move(onReadFailed))),
      thread_([state = state_] { Execute(state); }) {}

TListener::~TListener() {
    Terminate();
    if (!WaitFor(kStopWaitMs)) thread_.detach();
}

void TListener::Execute(const std::shared_ptr<State>& state) {
    while (!state->stopRequested) {
        const CompanionChannel::Wake wake = state->channel.waitForPulse(CompanionChannel::kNoTimeout);
        if (wake == CompanionChannel::Wake::Interrupted || wake == CompanionChannel::Wake::Failed) break;
        if (wake != CompanionChannel::Wake::Pulsed || state->stopRequested) continue;
        const CompanionStatus status = state->channel.read(state->block);
        if (!status) {
            state->onReadFailed(status.error);
            break;
        }
        state->onMessage(decodeCompanionMessage(state->block).text);
    }
    std::lock_guard lock(state->mutex);
    state->finished = true;
    state->ended.notify_all();
}

void TListener::Terminate() {
    state_->stopRequested = true;
    state_->channel.interrupt();
}

bool TListener::WaitFor(int ms) {
    {
        std::unique_lock lock(state_->mutex);
        if (!state_->ended.wait_for(lock, std::chrono::milliseconds(ms), [&] { return state_->finished; }))
            return false;
    }
    if (thread_.joinable()) thread_.join();
    return true;
}

bool TListener::Finished() const {
    std::lock_guard lock(state_->mutex);
    return state_->finished;
}

}  // namespace tintal
