#include "platform/win32/win32_companion_channel.h"

#include <windows.h>

#include <utility>

#include "platform/win32/win32_text.h"

namespace tintal {

namespace {

HANDLE handle(void* h) { return static_cast<HANDLE>(h); }

DWORD waitMs(int timeoutMs) { return timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs); }

// Queued to end an alertable wait; it has nothing to do itself.
VOID CALLBACK wakeOnly(ULONG_PTR) {}

}  // namespace

Win32CompanionChannel::Win32CompanionChannel(CompanionNames names)
    : MappedCompanionChannel(std::move(names)), interrupt_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

Win32CompanionChannel::~Win32CompanionChannel() {
    close();
    if (interrupt_) CloseHandle(handle(interrupt_));
    if (waiter_) CloseHandle(handle(waiter_));
}

CompanionStatus Win32CompanionChannel::open() {
    if (interrupt_) ResetEvent(handle(interrupt_));
    nudged_ = false;
    if (isOpen()) return {};

    HANDLE memory = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                       static_cast<DWORD>(kCompanionBlockSize), names_.memory.c_str());
    if (!memory && GetLastError() == ERROR_ACCESS_DENIED) {
        memory = OpenFileMappingA(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, names_.memory.c_str());
    }
    if (!memory) return {false, systemErrorText(GetLastError())};

    HANDLE mutex = CreateMutexA(nullptr, FALSE, names_.mutex.c_str());
    if (!mutex && GetLastError() == ERROR_ACCESS_DENIED) {
        mutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, names_.mutex.c_str());
    }
    if (!mutex) {
        const DWORD error = GetLastError();
        CloseHandle(memory);
        return {false, systemErrorText(error)};
    }

    HANDLE event = CreateEventA(nullptr, TRUE, FALSE, names_.event.c_str());
    if (!event && GetLastError() == ERROR_ACCESS_DENIED) {
        event = OpenEventA(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, names_.event.c_str());
    }
    if (!event) {
        const DWORD error = GetLastError();
        CloseHandle(mutex);
        CloseHandle(memory);
        return {false, systemErrorText(error)};
    }
    memory_ = memory;
    mutex_ = mutex;
    event_ = event;
    return {};
}

void Win32CompanionChannel::close() {
    for (void** h : {&event_, &mutex_, &memory_}) {
        if (*h) CloseHandle(handle(*h));
        *h = nullptr;
    }
}

MutexWait Win32CompanionChannel::lockMutex(int timeoutMs) {
    if (!mutex_) return MutexWait::TimedOut;
    switch (WaitForSingleObject(handle(mutex_), waitMs(timeoutMs))) {
        case WAIT_OBJECT_0: return MutexWait::Acquired;
        case WAIT_ABANDONED: return MutexWait::Recovered;
        default: return MutexWait::TimedOut;
    }
}

void Win32CompanionChannel::unlockMutex() {
    if (mutex_) ReleaseMutex(handle(mutex_));
}

// A mapping shorter than length fails the view, as the companion's own does.
void* Win32CompanionChannel::mapView(std::size_t length, bool writable) {
    return MapViewOfFile(handle(memory_), writable ? FILE_MAP_WRITE : FILE_MAP_READ, 0, 0, length);
}

void Win32CompanionChannel::unmapView(void* view, std::size_t) { UnmapViewOfFile(view); }

void Win32CompanionChannel::pulse() { PulseEvent(handle(event_)); }

void Win32CompanionChannel::noteWaiter() {
    const DWORD id = GetCurrentThreadId();
    std::lock_guard lock(waiterMutex_);
    if (waiter_ && waiterId_ == id) return;
    if (waiter_) CloseHandle(handle(waiter_));
    HANDLE self = nullptr;
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &self, THREAD_SET_CONTEXT, FALSE, 0);
    waiter_ = self;
    waiterId_ = id;
}

void Win32CompanionChannel::wakeWaiters() {
    std::lock_guard lock(waiterMutex_);
    // The wait is alertable: a queued call ends it, even the one that also releases the mutex.
    if (waiter_) QueueUserAPC(wakeOnly, handle(waiter_), 0);
}

CompanionChannel::Wake Win32CompanionChannel::wokenBy(DWORD result) {
    switch (result) {
        case WAIT_OBJECT_0:
            // A peer that set the event rather than pulsing it would otherwise wake us for ever.
            ResetEvent(handle(event_));
            return Wake::Pulsed;
        case WAIT_OBJECT_0 + 1: return Wake::Interrupted;
        case WAIT_IO_COMPLETION:
            if (WaitForSingleObject(handle(interrupt_), 0) == WAIT_OBJECT_0) return Wake::Interrupted;
            nudged_ = false;
            return Wake::Nudged;
        case WAIT_TIMEOUT: return Wake::TimedOut;
        default: return Wake::Failed;
    }
}

CompanionChannel::Wake Win32CompanionChannel::nudgedBeforeTheWait() {
    // The nudge also queued its call to this thread: run it now, or it would end the next alertable
    // wait of the thread, on this channel or another, once more.
    SleepEx(0, TRUE);
    return Wake::Nudged;
}

CompanionChannel::Wake Win32CompanionChannel::waitForPulse(int timeoutMs) {
    if (!isOpen()) return Wake::Failed;
    noteWaiter();
    if (nudged_.exchange(false)) return nudgedBeforeTheWait();
    const HANDLE handles[2] = {handle(event_), handle(interrupt_)};
    const DWORD count = interrupt_ ? 2 : 1;
    // The named event comes first, so a pulse that lands together with an interrupt is still reported.
    return wokenBy(WaitForMultipleObjectsEx(count, handles, FALSE, waitMs(timeoutMs), TRUE));
}

CompanionChannel::Wake Win32CompanionChannel::releaseAndWait(int timeoutMs) {
    if (!isOpen()) return Wake::Failed;
    noteWaiter();
    if (interrupt_ && WaitForSingleObject(handle(interrupt_), 0) == WAIT_OBJECT_0) {
        unlockMutex();
        return Wake::Interrupted;
    }
    if (nudged_.exchange(false)) {
        unlockMutex();
        return nudgedBeforeTheWait();
    }
    DWORD result = SignalObjectAndWait(handle(mutex_), handle(event_), waitMs(timeoutMs), TRUE);
    // Wine runs the queued call, then tries the whole call again and finds the mutex no longer
    // ours: that is the queued call's wake, the mutex having been handed back.
    if (result == WAIT_FAILED && GetLastError() == ERROR_NOT_OWNER) result = WAIT_IO_COMPLETION;
    return wokenBy(result);
}

void Win32CompanionChannel::interrupt() {
    if (interrupt_) SetEvent(handle(interrupt_));
    wakeWaiters();
}

}  // namespace tintal
