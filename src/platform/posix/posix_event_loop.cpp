#include "platform/posix/posix_event_loop.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <system_error>

#include "base/date_time.h"

namespace tintal {

namespace {

constexpr std::int64_t kNsPerMs = 1'000'000;
constexpr std::int64_t kNsPerSecond = 1'000'000'000;

[[noreturn]] void throwErrno(const char* what) { throw std::system_error(errno, std::system_category(), what); }

std::int64_t monotonicNs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * kNsPerSecond + ts.tv_nsec;
}

// Empties a non-blocking eventfd or timerfd; both hand out one 8-byte counter per read.
void drain(int fd) {
    std::uint64_t count = 0;
    while (read(fd, &count, sizeof count) < 0 && errno == EINTR) {
    }
}

}  // namespace

PosixEventLoop::PosixEventLoop() : QueuedEventLoop(monotonicNs, kNsPerMs) {
    wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd_ < 0) throwErrno("eventfd");
    timerFd_ = timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK);
    if (timerFd_ < 0) {
        const int saved = errno;
        close(wakeFd_);
        throw std::system_error(saved, std::system_category(), "timerfd_create");
    }
}

PosixEventLoop::~PosixEventLoop() {
    close(timerFd_);
    close(wakeFd_);
}

double PosixEventLoop::localNow() const {
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    const time_t seconds = ts.tv_sec;
    tm local{};
    localtime_r(&seconds, &local);
    DateTimeFields f;
    f.year = local.tm_year + 1900;
    f.month = local.tm_mon + 1;
    f.day = local.tm_mday;
    f.hour = local.tm_hour;
    f.minute = local.tm_min;
    f.second = std::min(local.tm_sec, 59);  // a leap second reads as the last second of the minute
    f.millisecond = static_cast<int>(ts.tv_nsec / kNsPerMs);
    return encodeDateTime(f);
}

void PosixEventLoop::wake() {
    // Written on every post: the loop drains the counter before it dispatches, so no wake-up is lost.
    const std::uint64_t one = 1;
    while (write(wakeFd_, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

void PosixEventLoop::waitForWork(std::int64_t untilNs) {
    std::int64_t wakeNs = wakeDeadline(untilNs);
    itimerspec spec{};  // all zero disarms
    if (wakeNs >= 0) {
        wakeNs = std::max<std::int64_t>(wakeNs, 1);  // an absolute zero would disarm instead
        spec.it_value.tv_sec = static_cast<time_t>(wakeNs / kNsPerSecond);
        spec.it_value.tv_nsec = static_cast<long>(wakeNs % kNsPerSecond);
    }
    if (timerfd_settime(timerFd_, TFD_TIMER_ABSTIME, &spec, nullptr) < 0) throwErrno("timerfd_settime");

    pollfd fds[2] = {{wakeFd_, POLLIN, 0}, {timerFd_, POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) {
        if (errno == EINTR) return;  // the caller re-checks its deadline and waits again
        throwErrno("poll");
    }
    if (fds[0].revents & POLLIN) drain(wakeFd_);
    if (fds[1].revents & POLLIN) drain(timerFd_);
}

void PosixEventLoop::pump(int ms) {
    const std::int64_t untilNs = monotonicNs() + std::max(0, ms) * kNsPerMs;
    for (;;) {
        dispatchPass();
        if (monotonicNs() >= untilNs) return;
        waitForWork(untilNs);
    }
}

void PosixEventLoop::run() {
    while (!quitRequested_) {
        dispatchPass();
        if (quitRequested_) break;
        waitForWork(-1);
    }
    quitRequested_ = false;
}

}  // namespace tintal
