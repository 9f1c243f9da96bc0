#pragma once
// The Linux companion channel: the three named objects are POSIX shared-memory objects of the same
// names behind a slash ("/QUILVENSHAREDMEMORY" is /dev/shm/QUILVENSHAREDMEMORY), mode 0600, so only
// the user's own programs reach them.
//
// Layout, shared with any program that speaks the protocol on Linux:
// - "/QUILVENSHAREDMEMORY": kCompanionBlockSize bytes, the block exactly as on Windows.
// - "/QUILVENMUTEX": struct MutexBlock: u32 magic "QVMX", u32 sizeof(pthread_mutex_t), then a
//   process-shared robust pthread mutex. Its owner dying makes the next lock recover it.
// - "/QUILVENEVENT": struct EventBlock: u32 magic "QVEV", then u32 generation, then u32 waiters.
//   A pulse adds one to generation and wakes every futex waiter on it. A waiter notes generation,
//   counts itself in waiters and sleeps until generation changes: it wakes once per pulse, and a
//   pulse made while nobody waits is lost, as with a pulsed Windows event. waiters is only a hint
//   (a waiter killed while waiting stays counted); tests use it to know a peer is listening.
// The event is a futex on generation rather than a process-shared condition variable: glibc's (2.36)
// can make a broadcast hang for ever once a waiter was killed while waiting, and being killed while
// waiting is how a companion program usually ends.
//
// Responsibilities, beyond the CompanionChannel contract:
// - The two control objects are laid out once, by whoever finds them zeroed, under flock() on the
//   object: two programs starting together, or one killed half-way, never leave them half made. One
//   of another layout (another build, a 32-bit process sharing with a 64-bit one) fails open().
// - The block is extended to its full size when found shorter, never shortened. send() and read()
//   check its size before mapping, so a peer that shrinks it gets the view errors, not a SIGBUS.
// - Objects are never unlinked by open() or close(): like the Windows objects while the companion
//   holds them, they stay for whoever comes next. unlink() removes them (tests, a stale set).
// - releaseAndWait() notes the generation before it unlocks: a pulse made after the unlock is seen.
// - interrupt() and nudge() may take up to kInterruptSliceMs to end a wait that was about to sleep.
#include <atomic>
#include <cstdint>
#include <string>

#include "platform/mapped_companion_channel.h"

namespace tintal {

class PosixCompanionChannel : public MappedCompanionChannel {
public:
    static constexpr int kInterruptSliceMs = 250;

    explicit PosixCompanionChannel(CompanionNames names = {});
    ~PosixCompanionChannel() override;

    CompanionStatus open() override;
    void close() override;
    bool isOpen() const override { return memoryFd_ >= 0; }
    MutexWait lockMutex(int timeoutMs) override;
    void unlockMutex() override;
    Wake waitForPulse(int timeoutMs) override;
    Wake releaseAndWait(int timeoutMs) override;
    void interrupt() override;
    // Threads waiting on the event now, in every process (a hint, see above); -1 when not open.
    int waitersNow() const;

    // The protocol's names, or with TINTAL_COMPANION_SUFFIX set in the environment those names
    // followed by it: a private set for a test run on a machine where a real companion may run.
    static CompanionNames namesFromEnvironment();

    // Removes the three objects of these names; programs that have them open keep their own.
    static void unlink(const CompanionNames& names);

private:
    struct MutexBlock;
    struct EventBlock;

    void* mapView(std::size_t length, bool writable) override;
    void unmapView(void* view, std::size_t length) override;
    void pulse() override;
    void wakeWaiters() override;
    // Waits until the generation is no longer start.
    Wake waitFrom(std::uint32_t start, int timeoutMs);

    int memoryFd_ = -1;
    MutexBlock* mutex_ = nullptr;
    EventBlock* event_ = nullptr;
    std::atomic<bool> interrupted_{false};
};

}  // namespace tintal
