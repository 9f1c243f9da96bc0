#pragma once
// What both systems' channels do alike around their own calls: the checks and copies of a write and
// a read through a view of the block, and the nudge flag.
//
// Responsibilities:
// - writeAndPulse() refuses, without mapping anything, a message longer than the block; an empty one
//   maps the first byte, as a view of length 0 would map the whole block.
// - read() copies the length word and the text it declares, cut at the end of the block; a negative
//   length copies no text.
// - nudge() raises the flag that a wait takes down, then wakes the waiters: a wait in progress ends,
//   and one about to start sees the flag.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>

#include "platform/companion_channel.h"

namespace tintal {

class MappedCompanionChannel : public CompanionChannel {
public:
    explicit MappedCompanionChannel(CompanionNames names) : names_(std::move(names)) {}
    MappedCompanionChannel(const MappedCompanionChannel&) = delete;
    MappedCompanionChannel& operator=(const MappedCompanionChannel&) = delete;

    CompanionStatus writeAndPulse(std::span<const std::uint8_t> bytes) final;
    CompanionStatus read(CompanionBlock& out) final;
    void nudge() final;

protected:
    // A view of the first length bytes of the block, for writing or read-only; nullptr when the block
    // cannot be mapped that far. Called only while the channel is open.
    virtual void* mapView(std::size_t length, bool writable) = 0;
    virtual void unmapView(void* view, std::size_t length) = 0;
    virtual void pulse() = 0;
    // Wakes the waits of this channel in progress, so that they look at the flags again; any thread.
    virtual void wakeWaiters() = 0;

    CompanionNames names_;
    std::atomic<bool> nudged_{false};
};

}  // namespace tintal
