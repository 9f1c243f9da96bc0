#include "fakes/fake_companion_channel.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <utility>

#include "radio/companion_message.h"

namespace tintal {

void FakeCompanionObjects::setOpenError(std::optional<std::string> error) {
    std::lock_guard lock(mutex_);
    openError_ = std::move(error);
}

void FakeCompanionObjects::setHoldMutexElsewhere(bool held) {
    std::lock_guard lock(mutex_);
    mutexHeld_ = held;
}

void FakeCompanionObjects::setFailWriteView(bool fail) {
    std::lock_guard lock(mutex_);
    failWriteView_ = fail;
}

void FakeCompanionObjects::setFailReadView(bool fail) {
    std::lock_guard lock(mutex_);
    failReadView_ = fail;
}

void FakeCompanionObjects::poke(std::size_t offset, std::span<const std::uint8_t> bytes) {
    std::lock_guard lock(mutex_);
    const std::size_t n = offset >= block_.size() ? 0 : std::min(bytes.size(), block_.size() - offset);
    if (n > 0) std::memcpy(block_.data() + offset, bytes.data(), n);
}

std::vector<FakeCompanionObjects::Sent> FakeCompanionObjects::sent() const {
    std::lock_guard lock(mutex_);
    return sent_;
}

std::vector<std::string> FakeCompanionObjects::sentTexts(std::string_view from) const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> texts;
    for (const Sent& s : sent_) {
        if (s.from == from) texts.push_back(s.text);
    }
    return texts;
}

CompanionBlock FakeCompanionObjects::block() const {
    std::lock_guard lock(mutex_);
    return block_;
}

int FakeCompanionObjects::pulses() const {
    std::lock_guard lock(mutex_);
    return pulses_;
}

int FakeCompanionObjects::waiters() const {
    std::lock_guard lock(mutex_);
    return waiters_;
}

bool FakeCompanionObjects::waitForWaiters(int count, int timeoutMs) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return waiters_ >= count; });
}

FakeCompanionChannel::FakeCompanionChannel(FakeCompanionObjects& objects, std::string label)
    : objects_(objects), label_(std::move(label)) {}

CompanionStatus FakeCompanionChannel::open() {
    std::lock_guard lock(objects_.mutex_);
    interrupted_ = false;
    nudged_ = false;
    if (objects_.openError_) return {false, *objects_.openError_};
    if (!open_) ++opens_;
    open_ = true;
    return {};
}

void FakeCompanionChannel::close() {
    std::lock_guard lock(objects_.mutex_);
    if (open_) ++closes_;
    open_ = false;
    objects_.changed_.notify_all();
}

bool FakeCompanionChannel::isOpen() const {
    std::lock_guard lock(objects_.mutex_);
    return open_;
}

MutexWait FakeCompanionChannel::lockMutex(int timeoutMs) {
    std::unique_lock lock(objects_.mutex_);
    held_ = MutexWait::TimedOut;
    if (objects_.mutexHeld_) return held_;
    const auto free = [&] { return objects_.owner_ == nullptr; };
    const bool got = timeoutMs < 0 ? (objects_.changed_.wait(lock, free), true)
                                   : objects_.changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), free);
    if (!got) return held_;
    objects_.owner_ = this;
    held_ = MutexWait::Acquired;
    return held_;
}

void FakeCompanionChannel::unlockMutex() {
    std::lock_guard lock(objects_.mutex_);
    if (objects_.owner_ == this) objects_.owner_ = nullptr;
    held_ = MutexWait::TimedOut;
    objects_.changed_.notify_all();
}

CompanionStatus FakeCompanionChannel::writeAndPulse(std::span<const std::uint8_t> bytes) {
    std::lock_guard lock(objects_.mutex_);
    if (!open_) return {false, std::string(kCompanionWriteViewError), MutexWait::TimedOut};
    if (objects_.failWriteView_ || bytes.size() > kCompanionBlockSize) {
        return {false, std::string(kCompanionWriteViewError), held_};
    }
    if (!bytes.empty()) std::memcpy(objects_.block_.data(), bytes.data(), bytes.size());
    objects_.sent_.push_back({label_, decodeCompanionMessage(bytes).text, held_});
    ++objects_.generation_;
    ++objects_.pulses_;
    // Whoever waited is released by this pulse now, not when its thread next runs: a test that waits
    // for the waiters to be back must not count a thread that has yet to wake.
    objects_.waiters_ = 0;
    objects_.changed_.notify_all();
    return {true, {}, held_};
}

CompanionStatus FakeCompanionChannel::read(CompanionBlock& out) {
    std::lock_guard lock(objects_.mutex_);
    if (!open_) return {false, std::string(kCompanionReadViewError), MutexWait::TimedOut};
    if (objects_.failReadView_) return {false, std::string(kCompanionReadViewError)};
    out = objects_.block_;
    return {};
}

CompanionChannel::Wake FakeCompanionChannel::waitForPulse(int timeoutMs) {
    std::unique_lock lock(objects_.mutex_);
    return waitFrom(lock, objects_.generation_, timeoutMs);
}

CompanionChannel::Wake FakeCompanionChannel::releaseAndWait(int timeoutMs) {
    std::unique_lock lock(objects_.mutex_);
    if (objects_.owner_ == this) objects_.owner_ = nullptr;
    held_ = MutexWait::TimedOut;
    return waitFrom(lock, objects_.generation_, timeoutMs);
}

CompanionChannel::Wake FakeCompanionChannel::waitFrom(std::unique_lock<std::mutex>& lock, std::uint64_t start,
                                                      int timeoutMs) {
    if (!open_) return Wake::Failed;
    if (interrupted_) return Wake::Interrupted;
    if (std::exchange(nudged_, false)) return Wake::Nudged;
    ++objects_.waiters_;
    objects_.changed_.notify_all();
    const auto woken = [&] { return objects_.generation_ != start || interrupted_ || nudged_ || !open_; };
    bool done = true;
    if (timeoutMs < 0) {
        objects_.changed_.wait(lock, woken);
    } else {
        done = objects_.changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs), woken);
    }
    if (objects_.generation_ == start) --objects_.waiters_;  // a pulse has already let it go
    objects_.changed_.notify_all();
    if (!done) return Wake::TimedOut;
    if (objects_.generation_ != start) return Wake::Pulsed;
    if (!open_) return Wake::Failed;
    if (interrupted_) return Wake::Interrupted;
    nudged_ = false;
    return Wake::Nudged;
}

void FakeCompanionChannel::nudge() {
    std::lock_guard lock(objects_.mutex_);
    nudged_ = true;
    objects_.changed_.notify_all();
}

void FakeCompanionChannel::interrupt() {
    std::lock_guard lock(objects_.mutex_);
    interrupted_ = true;
    objects_.changed_.notify_all();
}

CompanionStatus FakeCompanionChannel::sendText(std::string_view utf8) { return send(encodeCompanionMessage(utf8)); }

std::string FakeCompanionChannel::readText() {
    CompanionBlock block;
    if (!read(block)) return {};
    return decodeCompanionMessage(block).text;
}

int FakeCompanionChannel::opens() const {
    std::lock_guard lock(objects_.mutex_);
    return opens_;
}

int FakeCompanionChannel::closes() const {
    std::lock_guard lock(objects_.mutex_);
    return closes_;
}

}  // namespace tintal
