#include "radio/tlistener.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <deque>
#include <optional>
#include <vector>

#include "radio/companion_message.h"

namespace tintal {

namespace {

using Bytes = std::vector<std::uint8_t>;

// Between two queued messages: the peer reads the first before the second overwrites it.
constexpr int kQueuedGapMs = 50;

struct Outgoing {
    Bytes bytes;
    bool thenEnd = false;
};

}  // namespace

struct TListener::State {
    State(CompanionChannel& c, OnMessage message, OnFailure readFailed, OnFailure sendFailed)
        : channel(c),
          onMessage(std::move(message)),
          onReadFailed(std::move(readFailed)),
          onSendFailed(std::move(sendFailed)) {}

    // The message the block holds now: its length word and the text it declares.
    std::optional<Bytes> look() {
        if (const CompanionStatus status = channel.read(block); !status) {
            onReadFailed(status.error);
            return std::nullopt;
        }
        std::int32_t declared;
        std::memcpy(&declared, block.data(), sizeof declared);
        const std::size_t n = declared < 0 ? 0 : std::min<std::size_t>(declared, kCompanionMaxTextBytes);
        return Bytes(block.begin(), block.begin() + static_cast<std::ptrdiff_t>(kCompanionLengthBytes + n));
    }
    void deliver(const Bytes& message) { onMessage(decodeCompanionMessage(message).text); }
    std::optional<Outgoing> next() {
        std::lock_guard lock(mutex);
        if (queue.empty()) return std::nullopt;
        Outgoing out = std::move(queue.front());
        queue.pop_front();
        return out;
    }
    bool queued() {
        std::lock_guard lock(mutex);
        return !queue.empty();
    }

    CompanionChannel& channel;
    OnMessage onMessage;
    OnFailure onReadFailed;
    OnFailure onSendFailed;
    std::atomic<bool> stopRequested{false};
    std::mutex mutex;
    std::condition_variable ended;
    bool finished = false;       // guarded by mutex
    std::deque<Outgoing> queue;  // idem
    CompanionBlock block{};      // 64 KB: kept off the thread's stack
};

TListener::TListener(CompanionChannel& channel, OnMessage onMessage, OnFailure onReadFailed, OnFailure onSendFailed)
    : state_(std::make_shared<State>(channel, std::move(onMessage), std::move(onReadFailed), std::move(onSendFailed))),
      thread_([state = state_] { Execute(state); }) {}

TListener::~TListener() {
    Terminate();
    if (!WaitFor(kStopWaitMs)) thread_.detach();
}

void TListener::Execute(const std::shared_ptr<State>& state) {
    CompanionChannel& channel = state->channel;
    // What the block held when last looked at: a change found under the mutex is a message that came
    // while this thread was out of its wait. What it holds at the start is old news.
    std::optional<Bytes> seen = state->look();
    while (seen && !state->stopRequested) {
        const bool held = channel.lockMutex(CompanionChannel::kMutexWaitMs) != MutexWait::TimedOut;
        std::optional<Bytes> now = state->look();
        if (now && *now != *seen) state->deliver(*now);
        seen = now;
        std::optional<Outgoing> out = now ? state->next() : std::nullopt;
        if (out) {
            if (const CompanionStatus status = channel.writeAndPulse(out->bytes); status) {
                seen = out->bytes;
            } else {
                state->onSendFailed(status.error);
            }
        }
        if (!now || (out && out->thenEnd)) {
            if (held) channel.unlockMutex();
            break;
        }
        const int timeout = state->queued() ? kQueuedGapMs : CompanionChannel::kNoTimeout;
        const CompanionChannel::Wake wake = held ? channel.releaseAndWait(timeout) : channel.waitForPulse(timeout);
        if (wake == CompanionChannel::Wake::Interrupted || wake == CompanionChannel::Wake::Failed) break;
        if (wake != CompanionChannel::Wake::Pulsed || state->stopRequested) continue;
        // The protocol's reader: no lock, right after the pulse.
        seen = state->look();
        if (seen) state->deliver(*seen);
    }
    // Whatever was still to say goes out directly, unless the thread was stopped.
    while (!state->stopRequested) {
        const std::optional<Outgoing> out = state->next();
        if (!out) break;
        channel.send(out->bytes);
    }
    std::lock_guard lock(state->mutex);
    state->finished = true;
    state->ended.notify_all();
}

void TListener::Send(std::string_view text, bool thenEnd) {
    {
        std::lock_guard lock(state_->mutex);
        state_->queue.push_back({encodeCompanionMessage(text), thenEnd});
    }
    state_->channel.nudge();
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
