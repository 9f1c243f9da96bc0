#pragma once
// The Windows companion channel: the three named kernel objects of the session, as the companion
// program knows them. The block is a 65536-byte mapping backed by the paging file, the mutex is
// created not owned, the event is manual-reset, not signalled, and is pulsed (PulseEvent) after
// each write.
//
// Responsibilities, beyond the CompanionChannel contract:
// - The Create calls open an object that already exists; when one exists with rights that refuse
//   full access, the Open call with the rights the channel needs is tried before giving up.
// - A view is mapped for each send (the first n bytes) and each read (the whole block), as the
//   companion does; a mapping found shorter than that fails the view, not the program.
// - A mutex abandoned by a thread or a process that ended holding it is taken over (Recovered).
// - The mutex belongs to the thread that waited for it; send() and read() release it before they
//   return, so the window thread and the listener never hold it across calls.
// - interrupt() sets a private event waited for beside the named one. Waits are alertable, and
//   nudge() and interrupt() also queue an empty call to the last thread that waited: that is what
//   ends a SignalObjectAndWait(), which waits on the named event alone.
// - The reader maps the whole block read-only and copies only the length word and the text.
#include <atomic>
#include <mutex>
#include <string>

#include "platform/mapped_companion_channel.h"

namespace tintal {

class Win32CompanionChannel : public MappedCompanionChannel {
public:
    explicit Win32CompanionChannel(CompanionNames names = {});
    ~Win32CompanionChannel() override;

    CompanionStatus open() override;
    void close() override;
    bool isOpen() const override { return memory_ != nullptr; }
    MutexWait lockMutex(int timeoutMs) override;
    void unlockMutex() override;
    Wake waitForPulse(int timeoutMs) override;
    Wake releaseAndWait(int timeoutMs) override;
    void interrupt() override;

private:
    void* mapView(std::size_t length, bool writable) override;
    void unmapView(void* view, std::size_t length) override;
    void pulse() override;
    // The last thread that waited, which nudge() and interrupt() reach with a queued call.
    void noteWaiter();
    void wakeWaiters() override;
    Wake wokenBy(unsigned long result);
    Wake nudgedBeforeTheWait();

    void* memory_ = nullptr;
    void* mutex_ = nullptr;
    void* event_ = nullptr;
    void* interrupt_ = nullptr;  // private, manual-reset
    std::mutex waiterMutex_;
    void* waiter_ = nullptr;  // thread handle, guarded by waiterMutex_
    unsigned long waiterId_ = 0;
};

}  // namespace tintal
