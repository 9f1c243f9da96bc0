// A stand-in for the companion program, built with the tests and never shipped: it speaks the
// protocol over the named objects and logs each message it sends ("> text") and receives
// ("< text"), one UTF-8 line each, flushed at once, so a test can follow it through a pipe.
//
//   companion_peer [--suffix S] [--timeout MS]   HELLO (again every 500 ms until answered), then PLAY
//                                                once the clock is ready, then waits for DONE
//   ... --hello-only                             HELLO, then only the answer
//   ... --listen N                               logs the next N messages
//   ... --send TEXT                              sends TEXT once
//   ... --hold-mutex MS                          holds the mutex MS ms; prints "holding" once it has it
//   ... --die-holding-mutex                      takes the mutex, prints "holding", ends without releasing it
//
// Exit status: 0 done, 1 the objects cannot be opened, 2 timed out, 3 the clock answered OCCUPIED,
// 4 bad usage, 5 the mutex was never obtained.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "base/numbers.h"
#include "radio/companion_message.h"

#if defined(_WIN32)
#include "platform/win32/win32_companion_channel.h"
using SystemCompanionChannel = tintal::Win32CompanionChannel;
#else
#include "platform/posix/posix_companion_channel.h"
using SystemCompanionChannel = tintal::PosixCompanionChannel;
#endif

namespace {

using namespace tintal;
using Clock = std::chrono::steady_clock;

constexpr int kHelloRetryMs = 500;

enum Status { kDone = 0, kCannotOpen = 1, kTimedOut = 2, kOccupied = 3, kUsage = 4, kNoMutex = 5 };

void logLine(char direction, std::string_view text) {
    std::printf("%c %.*s\n", direction, static_cast<int>(text.size()), text.data());
    std::fflush(stdout);
}

class Peer {
public:
    Peer(CompanionChannel& channel, int timeoutMs)
        : channel_(channel), deadline_(Clock::now() + std::chrono::milliseconds(timeoutMs)) {}

    bool send(std::string_view text) {
        const CompanionStatus status = channel_.send(encodeCompanionMessage(text));
        if (!status) {
            std::printf("! %s\n", status.error.c_str());
            std::fflush(stdout);
            return false;
        }
        logLine('>', text);
        return true;
    }

    // The next message received within waitMs (and before the deadline); empty when none came.
    std::optional<std::string> receive(int waitMs) {
        const int wait = static_cast<int>(std::min<long long>(waitMs, leftMs()));
        if (wait <= 0 || channel_.waitForPulse(wait) != CompanionChannel::Wake::Pulsed) return std::nullopt;
        CompanionBlock block;
        const CompanionStatus status = channel_.read(block);
        if (!status) {
            std::printf("! %s\n", status.error.c_str());
            std::fflush(stdout);
            return std::nullopt;
        }
        std::string text = decodeCompanionMessage(block).text;
        logLine('<', text);
        return text;
    }

    long long leftMs() const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now()).count();
    }

    // The clock's answer to HELLO: true for READY, false for OCCUPIED, nullopt when it never came.
    std::optional<bool> hello() {
        while (leftMs() > 0) {
            if (!send(kTintalHello)) return std::nullopt;
            const auto retry = Clock::now() + std::chrono::milliseconds(kHelloRetryMs);
            while (Clock::now() < retry && leftMs() > 0) {
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(retry - Clock::now());
                const auto text = receive(static_cast<int>(left.count()) + 1);
                if (!text) continue;
                if (text->find(kTintalReady) != std::string::npos) return true;
                if (text->find(kTintalOccupied) != std::string::npos) return false;
            }
        }
        return std::nullopt;
    }

    bool waitFor(std::string_view wanted) {
        while (leftMs() > 0) {
            const auto text = receive(static_cast<int>(leftMs()));
            if (text && text->find(wanted) != std::string::npos) return true;
        }
        return false;
    }

private:
    CompanionChannel& channel_;
    const Clock::time_point deadline_;
};

int usage() {
    std::fprintf(stderr,
                 "usage: companion_peer [--suffix S] [--timeout MS] [--hello-only | --listen N | --send TEXT |"
                 " --hold-mutex MS | --die-holding-mutex]\n");
    return kUsage;
}

}  // namespace

int main(int argc, char** argv) {
    std::string suffix, mode = "play", text;
    int timeoutMs = 30000, count = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        std::optional<int> number;
        if (arg == "--suffix" && hasValue) {
            suffix = argv[++i];
        } else if (arg == "--timeout" && hasValue && (number = strictToInt(argv[++i])) && *number > 0) {
            timeoutMs = *number;
        } else if (arg == "--hello-only" || arg == "--die-holding-mutex") {
            mode = arg.substr(2);
        } else if ((arg == "--listen" || arg == "--hold-mutex") && hasValue && (number = strictToInt(argv[++i])) &&
                   *number >= 0) {
            mode = arg.substr(2);
            count = *number;
        } else if (arg == "--send" && hasValue) {
            mode = "send";
            text = argv[++i];
        } else {
            return usage();
        }
    }

    SystemCompanionChannel channel(CompanionNames::withSuffix(suffix));
    if (const CompanionStatus status = channel.open(); !status) {
        std::printf("! %s\n", status.error.c_str());
        return kCannotOpen;
    }
    Peer peer(channel, timeoutMs);

    if (mode == "hold-mutex" || mode == "die-holding-mutex") {
        const MutexWait wait = channel.lockMutex(timeoutMs);
        if (wait == MutexWait::TimedOut) return kNoMutex;
        std::printf("holding%s\n", wait == MutexWait::Recovered ? " (recovered)" : "");
        std::fflush(stdout);
        if (mode == "die-holding-mutex") std::_Exit(kDone);  // no unwinding: the mutex stays taken
        std::this_thread::sleep_for(std::chrono::milliseconds(count));
        channel.unlockMutex();
        return kDone;
    }
    if (mode == "send") return peer.send(text) ? kDone : kTimedOut;
    if (mode == "listen") {
        for (int received = 0; received < count;) {
            if (peer.leftMs() <= 0) return kTimedOut;
            if (peer.receive(static_cast<int>(peer.leftMs()))) ++received;
        }
        return kDone;
    }

    const std::optional<bool> ready = peer.hello();
    if (!ready) return kTimedOut;
    if (!*ready) return kOccupied;
    if (mode == "hello-only") return kDone;
    if (!peer.send(kTintalPlay)) return kTimedOut;
    return peer.waitFor(kTintalDone) ? kDone : kTimedOut;
}
