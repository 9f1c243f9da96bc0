#include "platform/posix/posix_companion_channel.h"

#include <fcntl.h>
#include <linux/futex.h>
#include <pthread.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <new>
#include <system_error>
#include <utility>

namespace tintal {

struct PosixCompanionChannel::MutexBlock {
    std::uint32_t magic;
    std::uint32_t mutexSize;
    pthread_mutex_t mutex;
};

struct PosixCompanionChannel::EventBlock {
    std::uint32_t magic;
    std::atomic<std::uint32_t> generation;
    std::atomic<std::uint32_t> waiters;
};

namespace {

constexpr std::uint32_t kMutexMagic = 0x584D5651;  // "QVMX" in memory order
constexpr std::uint32_t kEventMagic = 0x56455651;  // "QVEV"
constexpr int kLayoutLockWaitMs = 2000;

static_assert(sizeof(std::atomic<std::uint32_t>) == 4 && std::atomic<std::uint32_t>::is_always_lock_free,
              "the futex word must be a plain 32-bit word");

std::int64_t monotonicMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1'000'000;
}

timespec relative(std::int64_t ms) {
    return {static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1'000'000};
}

std::string shmName(const std::string& name) { return "/" + name; }

// The system's message, with the call and the object so that a user can find which one.
std::string systemError(int error, const char* call, const std::string& name) {
    return std::system_category().message(error) + " (" + call + " " + shmName(name) + ")";
}

long futex(std::atomic<std::uint32_t>* word, int op, std::uint32_t value, const timespec* timeout) {
    // Not the _PRIVATE operations: the word lives in memory other processes map.
    return syscall(SYS_futex, reinterpret_cast<std::uint32_t*>(word), op, value, timeout, nullptr, 0);
}

// flock() with a bounded wait: a program stopped half-way through laying an object out must not
// hang every other one.
bool lockLayout(int fd) {
    const std::int64_t deadline = monotonicMs() + kLayoutLockWaitMs;
    for (;;) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
        if (errno != EWOULDBLOCK && errno != EINTR) return false;
        if (monotonicMs() >= deadline) {
            errno = ETIMEDOUT;
            return false;
        }
        usleep(5000);
    }
}

// Opens or creates a control object of size bytes and maps it; layOut runs when it is found zeroed
// (new, or left half made by a program that died). Returns nullptr and sets error on failure.
void* mapControl(const std::string& name, std::size_t size, std::uint32_t magic, bool (*matches)(const void*),
                 void (*layOut)(void*), std::string& error) {
    const std::string path = shmName(name);
    const int fd = shm_open(path.c_str(), O_RDWR | O_CREAT, 0600);
    if (fd < 0) {
        error = systemError(errno, "shm_open", name);
        return nullptr;
    }
    void* view = MAP_FAILED;
    const char* failed = nullptr;
    struct stat st {};
    if (!lockLayout(fd)) {
        failed = "flock";
    } else if (fstat(fd, &st) != 0) {
        failed = "fstat";
    } else if (static_cast<std::size_t>(st.st_size) < size && ftruncate(fd, static_cast<off_t>(size)) != 0) {
        failed = "ftruncate";
    } else if ((view = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0)) == MAP_FAILED) {
        failed = "mmap";
    }
    const int saved = errno;
    if (!failed) {
        std::uint32_t found;
        std::memcpy(&found, view, sizeof found);
        if (found == 0) {
            layOut(view);
            std::memcpy(view, &magic, sizeof magic);  // last: a block with its magic is whole
        } else if (found != magic || !matches(view)) {
            munmap(view, size);
            view = MAP_FAILED;
            error = "Incompatible layout (" + path + " was made by another program or build)";
        }
    } else {
        error = systemError(saved, failed, name);
    }
    flock(fd, LOCK_UN);
    ::close(fd);  // the mapping keeps the object
    return view == MAP_FAILED ? nullptr : view;
}

}  // namespace

PosixCompanionChannel::PosixCompanionChannel(CompanionNames names) : MappedCompanionChannel(std::move(names)) {}

PosixCompanionChannel::~PosixCompanionChannel() { close(); }

CompanionStatus PosixCompanionChannel::open() {
    interrupted_ = false;
    nudged_ = false;
    if (isOpen()) return {};
    CompanionStatus status;
    const std::string memoryPath = shmName(names_.memory);
    const int fd = shm_open(memoryPath.c_str(), O_RDWR | O_CREAT, 0600);
    struct stat st {};
    const char* failed = nullptr;
    if (fd < 0) {
        failed = "shm_open";
    } else if (fstat(fd, &st) != 0) {
        failed = "fstat";
    } else if (st.st_size < static_cast<off_t>(kCompanionBlockSize) &&
               ftruncate(fd, static_cast<off_t>(kCompanionBlockSize)) != 0) {
        failed = "ftruncate";
    }
    if (failed) {
        status = {false, systemError(errno, failed, names_.memory)};
        if (fd >= 0) ::close(fd);
        return status;
    }

    void* mutexView = mapControl(
        names_.mutex, sizeof(MutexBlock), kMutexMagic,
        [](const void* view) { return static_cast<const MutexBlock*>(view)->mutexSize == sizeof(pthread_mutex_t); },
        [](void* view) {
            auto* block = static_cast<MutexBlock*>(view);
            block->mutexSize = sizeof(pthread_mutex_t);
            pthread_mutexattr_t attributes;
            pthread_mutexattr_init(&attributes);
            pthread_mutexattr_setpshared(&attributes, PTHREAD_PROCESS_SHARED);
            pthread_mutexattr_setrobust(&attributes, PTHREAD_MUTEX_ROBUST);
            pthread_mutex_init(&block->mutex, &attributes);
            pthread_mutexattr_destroy(&attributes);
        },
        status.error);
    if (!mutexView) {
        ::close(fd);
        status.ok = false;
        return status;
    }
    void* eventView = mapControl(
        names_.event, sizeof(EventBlock), kEventMagic, [](const void*) { return true; },
        [](void* view) {
            auto* block = static_cast<EventBlock*>(view);
            new (&block->generation) std::atomic<std::uint32_t>(0);
            new (&block->waiters) std::atomic<std::uint32_t>(0);
        },
        status.error);
    if (!eventView) {
        munmap(mutexView, sizeof(MutexBlock));
        ::close(fd);
        status.ok = false;
        return status;
    }
    memoryFd_ = fd;
    mutex_ = static_cast<MutexBlock*>(mutexView);
    event_ = static_cast<EventBlock*>(eventView);
    return status;
}

void PosixCompanionChannel::close() {
    if (event_) munmap(event_, sizeof(EventBlock));
    if (mutex_) munmap(mutex_, sizeof(MutexBlock));
    if (memoryFd_ >= 0) ::close(memoryFd_);
    event_ = nullptr;
    mutex_ = nullptr;
    memoryFd_ = -1;
}

MutexWait PosixCompanionChannel::lockMutex(int timeoutMs) {
    if (!mutex_) return MutexWait::TimedOut;
    int rc;
    if (timeoutMs < 0) {
        rc = pthread_mutex_lock(&mutex_->mutex);
    } else {
        timespec deadline{};
        clock_gettime(CLOCK_MONOTONIC, &deadline);
        const timespec wait = relative(timeoutMs);
        deadline.tv_sec += wait.tv_sec;
        deadline.tv_nsec += wait.tv_nsec;
        if (deadline.tv_nsec >= 1'000'000'000) {
            deadline.tv_sec += 1;
            deadline.tv_nsec -= 1'000'000'000;
        }
        rc = pthread_mutex_clocklock(&mutex_->mutex, CLOCK_MONOTONIC, &deadline);
    }
    if (rc == 0) return MutexWait::Acquired;
    if (rc == EOWNERDEAD) {
        // The block may hold half a message; the reader's clamp keeps that harmless.
        pthread_mutex_consistent(&mutex_->mutex);
        return MutexWait::Recovered;
    }
    return MutexWait::TimedOut;  // ETIMEDOUT, or a mutex another program left unrecoverable
}

void PosixCompanionChannel::unlockMutex() {
    if (mutex_) pthread_mutex_unlock(&mutex_->mutex);
}

void PosixCompanionChannel::pulse() {
    event_->generation.fetch_add(1, std::memory_order_seq_cst);
    futex(&event_->generation, FUTEX_WAKE, INT_MAX, nullptr);
}

void* PosixCompanionChannel::mapView(std::size_t length, bool writable) {
    // Checked first: a peer may have shrunk the block, and touching a page past its end is a SIGBUS.
    struct stat st {};
    if (fstat(memoryFd_, &st) != 0 || static_cast<std::size_t>(st.st_size) < length) return nullptr;
    void* view = mmap(nullptr, length, writable ? PROT_READ | PROT_WRITE : PROT_READ, MAP_SHARED, memoryFd_, 0);
    return view == MAP_FAILED ? nullptr : view;
}

void PosixCompanionChannel::unmapView(void* view, std::size_t length) { munmap(view, length); }

CompanionChannel::Wake PosixCompanionChannel::waitForPulse(int timeoutMs) {
    if (!isOpen()) return Wake::Failed;
    return waitFrom(event_->generation.load(std::memory_order_seq_cst), timeoutMs);
}

CompanionChannel::Wake PosixCompanionChannel::releaseAndWait(int timeoutMs) {
    if (!isOpen()) return Wake::Failed;
    // Taken while the mutex is still ours: any peer's pulse comes after it and changes it.
    const std::uint32_t start = event_->generation.load(std::memory_order_seq_cst);
    unlockMutex();
    return waitFrom(start, timeoutMs);
}

CompanionChannel::Wake PosixCompanionChannel::waitFrom(std::uint32_t start, int timeoutMs) {
    if (interrupted_) return Wake::Interrupted;
    if (nudged_.exchange(false)) return Wake::Nudged;
    // Counted in after the generation was taken, so a peer that sees us counted knows its next pulse
    // will be seen.
    event_->waiters.fetch_add(1, std::memory_order_seq_cst);
    const std::int64_t deadline = timeoutMs < 0 ? 0 : monotonicMs() + timeoutMs;
    Wake result;
    for (;;) {
        if (event_->generation.load(std::memory_order_seq_cst) != start) {
            result = Wake::Pulsed;
            break;
        }
        if (interrupted_) {
            result = Wake::Interrupted;
            break;
        }
        if (nudged_.exchange(false)) {
            result = Wake::Nudged;
            break;
        }
        std::int64_t slice = kInterruptSliceMs;
        if (timeoutMs >= 0) {
            const std::int64_t left = deadline - monotonicMs();
            if (left <= 0) {
                result = Wake::TimedOut;
                break;
            }
            if (left < slice) slice = left;
        }
        // Sleeps only while the generation is still the one we started with; ends on a wake, a
        // change, a signal or the slice's end, and the loop sorts out which.
        const timespec wait = relative(slice);
        futex(&event_->generation, FUTEX_WAIT, start, &wait);
    }
    event_->waiters.fetch_sub(1, std::memory_order_seq_cst);
    return result;
}

void PosixCompanionChannel::wakeWaiters() {
    // Wakes every waiter on the word; those of other processes find the generation unchanged and
    // sleep again.
    if (event_) futex(&event_->generation, FUTEX_WAKE, INT_MAX, nullptr);
}

void PosixCompanionChannel::interrupt() {
    interrupted_ = true;
    wakeWaiters();
}

int PosixCompanionChannel::waitersNow() const {
    return event_ ? static_cast<int>(event_->waiters.load(std::memory_order_seq_cst)) : -1;
}

CompanionNames PosixCompanionChannel::namesFromEnvironment() {
    const char* suffix = std::getenv("TINTAL_COMPANION_SUFFIX");
    return suffix ? CompanionNames::withSuffix(suffix) : CompanionNames{};
}

void PosixCompanionChannel::unlink(const CompanionNames& names) {
    for (const std::string* name : {&names.memory, &names.mutex, &names.event}) shm_unlink(shmName(*name).c_str());
}

}  // namespace tintal
