#pragma once
// The named objects of one session, in memory, and channels that open them: two channels made on
// the same FakeCompanionObjects are the clock and the companion sharing one block, one mutex and one
// event. A pulse wakes every thread waiting on any of its channels at that moment, the sender's own
// listener included, as the named event does; a pulse with nobody waiting is lost.
//
// Thread-safe: the listener under test waits on a real thread. The mutex is real between the
// channels (a writer waits while another channel holds it), except that while holdMutexElsewhere is
// set every lock reports TimedOut at once and the write goes ahead, as the real ones do after three
// seconds.
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/companion_channel.h"

namespace tintal {

class FakeCompanionObjects {
public:
    struct Sent {
        std::string from;  // the sending channel's label
        std::string text;  // decoded, UTF-8
        MutexWait mutex;
    };

    // Set-up, before or between the calls under test.
    void setOpenError(std::optional<std::string> error);  // every open() fails with this system message
    void setHoldMutexElsewhere(bool held);
    void setFailWriteView(bool fail);  // sends fail with kCompanionWriteViewError
    void setFailReadView(bool fail);   // reads fail with kCompanionReadViewError
    // Writes raw bytes at the start of the block, without a pulse: a faulty or hostile peer.
    void poke(std::size_t offset, std::span<const std::uint8_t> bytes);

    // What happened.
    std::vector<Sent> sent() const;
    std::vector<std::string> sentTexts(std::string_view from) const;  // texts sent by one channel, in order
    CompanionBlock block() const;
    int pulses() const;
    int waiters() const;
    // Blocks until at least count threads wait on the event, at most timeoutMs; false when they never did.
    bool waitForWaiters(int count, int timeoutMs) const;

private:
    friend class FakeCompanionChannel;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    CompanionBlock block_{};
    std::uint64_t generation_ = 0;
    int waiters_ = 0;
    int pulses_ = 0;
    std::optional<std::string> openError_;
    const void* owner_ = nullptr;  // the channel that holds the named mutex
    bool mutexHeld_ = false, failWriteView_ = false, failReadView_ = false;
    std::vector<Sent> sent_;
};

class FakeCompanionChannel : public CompanionChannel {
public:
    FakeCompanionChannel(FakeCompanionObjects& objects, std::string label);

    CompanionStatus open() override;
    void close() override;
    bool isOpen() const override;
    MutexWait lockMutex(int timeoutMs) override;
    void unlockMutex() override;
    CompanionStatus writeAndPulse(std::span<const std::uint8_t> bytes) override;
    CompanionStatus read(CompanionBlock& out) override;
    Wake waitForPulse(int timeoutMs) override;
    Wake releaseAndWait(int timeoutMs) override;
    void nudge() override;
    void interrupt() override;

    // A test playing the companion: encodes and sends a UTF-8 text; reads and decodes the block.
    CompanionStatus sendText(std::string_view utf8);
    std::string readText();

    int opens() const;
    int closes() const;

private:
    FakeCompanionObjects& objects_;
    const std::string label_;
    Wake waitFrom(std::unique_lock<std::mutex>& lock, std::uint64_t start, int timeoutMs);

    bool open_ = false;                     // guarded by objects_.mutex_
    bool interrupted_ = false;              // idem
    bool nudged_ = false;                   // idem
    MutexWait held_ = MutexWait::TimedOut;  // what this channel's last lock got
    int opens_ = 0, closes_ = 0;
};

}  // namespace tintal
