#pragma once
// The channel shared with the companion program: three named objects of the user's session, a
// 64 KB block that holds one message at a time, a mutex that serialises the writers and an event
// pulsed after each write. The same calls create the objects or open those the companion made.
//
// Contract:
// - open() and close() are called on one thread (the window thread), never while another thread is
//   inside a call of the same channel: stop the listener first (interrupt(), then join it).
// - Between them, the other calls may be made from any thread, at the same time: the window thread
//   sends while no listener runs, the listener thread waits, reads and answers.
// - A pulse wakes every thread of any process that is waiting on the event at that moment (the
//   sender's own listener too), then leaves the event unsignalled: a waiter wakes once per pulse,
//   and a pulse that finds nobody waiting is lost.
// - Writers wait for the mutex at most kMutexWaitMs; past that they go ahead without it, as a stuck
//   peer must not silence the clock, and say so. A mutex whose owner died holding it is taken over.
//   The reader takes no lock: it reads right after the pulse, as every program of the protocol does.
// - A peer writes only while it holds the mutex, so a thread that holds it and then waits with
//   releaseAndWait() cannot miss the peer's next message: the release and the start of the wait are
//   one step. That is how the listener answers and returns to its wait.
// - Nothing ever touches a byte past kCompanionBlockSize.
// - The bytes of the block are the caller's: radio/companion_message lays them out.
// - Failures come back as texts fit to show the user: the system's own message for open(), the
//   fixed texts below for a view that cannot be mapped.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tintal {

inline constexpr std::size_t kCompanionBlockSize = 65536;
using CompanionBlock = std::array<std::uint8_t, kCompanionBlockSize>;

// What the user sees when a view of the block cannot be mapped, for writing and for reading.
inline constexpr std::string_view kCompanionWriteViewError = "Err: MapViewOfFile";
inline constexpr std::string_view kCompanionReadViewError = "Echec de la récuperation du pointeur";

struct CompanionNames {
    std::string memory = "QUILVENSHAREDMEMORY";
    std::string mutex = "QUILVENMUTEX";
    std::string event = "QUILVENEVENT";

    // Private objects for one test run, which a real companion or a parallel run never meets.
    static CompanionNames withSuffix(std::string_view suffix) {
        CompanionNames names;
        names.memory += suffix;
        names.mutex += suffix;
        names.event += suffix;
        return names;
    }
};

enum class MutexWait {
    Acquired,
    Recovered,  // its previous owner died holding it
    TimedOut,   // not obtained within the wait; the call went ahead without it
};

struct CompanionStatus {
    bool ok = true;
    std::string error;  // UTF-8, empty when ok
    MutexWait mutex = MutexWait::Acquired;
    explicit operator bool() const { return ok; }
};

class CompanionChannel {
public:
    static constexpr int kMutexWaitMs = 3000;
    static constexpr int kNoTimeout = -1;

    enum class Wake {
        Pulsed,
        TimedOut,
        Nudged,       // nudge() was called
        Interrupted,  // interrupt() was called
        Failed,       // the channel is not open
    };

    virtual ~CompanionChannel() = default;

    // Creates or opens the three objects. On failure none is kept and error holds the system's message.
    virtual CompanionStatus open() = 0;
    // Releases the objects; safe when not open.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Takes the mutex for the calling thread, at most timeoutMs. After Acquired or Recovered the same
    // thread hands it back with unlockMutex() or releaseAndWait().
    virtual MutexWait lockMutex(int timeoutMs) = 0;
    virtual void unlockMutex() = 0;
    // With the mutex held (or given up on): writes bytes at the start of the block, then pulses the
    // event. Refused, with nothing written and no pulse, when bytes is longer than the block or the
    // view cannot be mapped (kCompanionWriteViewError).
    virtual CompanionStatus writeAndPulse(std::span<const std::uint8_t> bytes) = 0;
    // The whole write of one message: mutex (at most kMutexWaitMs), write, pulse, release.
    CompanionStatus send(std::span<const std::uint8_t> bytes) {
        const MutexWait mutex = lockMutex(kMutexWaitMs);
        CompanionStatus status = writeAndPulse(bytes);
        status.mutex = mutex;
        if (mutex != MutexWait::TimedOut) unlockMutex();
        return status;
    }
    // Without the mutex: copies the length word and the text it declares, cut at the end of the
    // block, to the start of out (the rest of out is left as it was); kCompanionReadViewError when
    // the block cannot be mapped.
    virtual CompanionStatus read(CompanionBlock& out) = 0;

    // Waits for the next pulse, at most timeoutMs (kNoTimeout: no limit). A pulse made before the
    // call is not seen. A manual-reset event that a peer set rather than pulsed is reset on waking.
    virtual Wake waitForPulse(int timeoutMs) = 0;
    // The same, for a thread that holds the mutex: gives it back and starts waiting in one step.
    virtual Wake releaseAndWait(int timeoutMs) = 0;
    // Ends the wait in progress on this channel, or the next one, with Nudged; once per call. Peers
    // are not woken. Any thread.
    virtual void nudge() = 0;
    // Ends the waits in progress on this channel, and makes every later one return Interrupted at
    // once, until the next open(). Peers are not woken. Safe from any thread, even when not open.
    virtual void interrupt() = 0;
};

}  // namespace tintal
