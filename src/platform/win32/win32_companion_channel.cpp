#include "platform/win32/win32_companion_channel.h"

#include <windows.h>

#include <cstring>
#include <utility>

#include "platform/win32/win32_text.h"

namespace tintal {

namespace {

HANDLE handle(void* h) { return static_cast<HANDLE>(h); }

DWORD waitMs(int timeoutMs) { return timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs); }

}  // namespace

Win32CompanionChannel::Win32CompanionChannel(CompanionNames names)
    : names_(std::move(names)), interrupt_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

Win32CompanionChannel::~Win32CompanionChannel() {
    close();
    if (interrupt_) CloseHandle(handle(interrupt_));
}

CompanionStatus Win32CompanionChannel::open() {
    if (interrupt_) ResetEvent(handle(interrupt_));
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

CompanionStatus Win32CompanionChannel::send(std::span<const std::uint8_t> bytes) {
    if (!isOpen()) return {false, std::string(kCompanionWriteViewError), MutexWait::TimedOut};
    CompanionStatus status;
    status.mutex = lockMutex(kMutexWaitMs);
    // A length of 0 would map the whole mapping; an empty write maps its first byte instead.
    const SIZE_T length = bytes.empty() ? 1 : bytes.size();
    void* view =
        bytes.size() <= kCompanionBlockSize ? MapViewOfFile(handle(memory_), FILE_MAP_WRITE, 0, 0, length) : nullptr;
    if (!view) {
        status.ok = false;
        status.error = kCompanionWriteViewError;
    } else {
        if (!bytes.empty()) std::memcpy(view, bytes.data(), bytes.size());
        UnmapViewOfFile(view);
        PulseEvent(handle(event_));
    }
    if (status.mutex != MutexWait::TimedOut) unlockMutex();
    return status;
}

CompanionStatus Win32CompanionChannel::read(CompanionBlock& out) {
    if (!isOpen()) return {false, std::string(kCompanionReadViewError), MutexWait::TimedOut};
    CompanionStatus status;
    status.mutex = lockMutex(kMutexWaitMs);
    const void* view = MapViewOfFile(handle(memory_), FILE_MAP_READ, 0, 0, kCompanionBlockSize);
    if (!view) {
        status.ok = false;
        status.error = kCompanionReadViewError;
    } else {
        std::memcpy(out.data(), view, kCompanionBlockSize);
        UnmapViewOfFile(view);
    }
    if (status.mutex != MutexWait::TimedOut) unlockMutex();
    return status;
}

CompanionChannel::Wake Win32CompanionChannel::waitForPulse(int timeoutMs) {
    if (!isOpen()) return Wake::Failed;
    const HANDLE handles[2] = {handle(event_), handle(interrupt_)};
    const DWORD count = interrupt_ ? 2 : 1;
    // The named event comes first, so a pulse that lands together with an interrupt is still reported.
    switch (WaitForMultipleObjects(count, handles, FALSE, waitMs(timeoutMs))) {
        case WAIT_OBJECT_0:
            // A peer that set the event rather than pulsing it would otherwise wake us for ever.
            ResetEvent(handle(event_));
            return Wake::Pulsed;
        case WAIT_OBJECT_0 + 1: return Wake::Interrupted;
        case WAIT_TIMEOUT: return Wake::TimedOut;
        default: return Wake::Failed;
    }
}

void Win32CompanionChannel::interrupt() {
    if (interrupt_) SetEvent(handle(interrupt_));
}

}  // namespace tintal
