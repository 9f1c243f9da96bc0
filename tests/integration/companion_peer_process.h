#pragma once
// A companion peer (tests/peers) as a child process, its standard output read line by line.
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "integration/c_strings.h"

extern char** environ;

namespace tintal {

class Peer {
public:
    using Clock = std::chrono::steady_clock;

    explicit Peer(const std::vector<std::string>& arguments, const char* program = TINTAL_COMPANION_PEER) {
        int fds[2];
        if (pipe(fds) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        posix_spawn_file_actions_addclose(&actions, fds[1]);
        std::vector<std::string> all{program};
        all.insert(all.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv = nullTerminated(all);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        out_ = fds[0];
    }
    ~Peer() {
        if (pid_ > 0) killNow();
        if (out_ >= 0) ::close(out_);
    }
    Peer(const Peer&) = delete;
    Peer& operator=(const Peer&) = delete;

    bool started() const { return pid_ > 0 || status_; }

    // Whether it has ended, without waiting (its status is kept for exitStatus()).
    bool ended() {
        if (status_) return true;
        int status = 0;
        if (pid_ <= 0 || waitpid(pid_, &status, WNOHANG) != pid_) return pid_ <= 0;
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        pid_ = -1;
        return true;
    }

    // The next line the peer prints, within timeoutMs.
    std::optional<std::string> nextLine(int timeoutMs = 5000) {
        const auto start = Clock::now();
        for (;;) {
            if (const auto end = buffer_.find('\n'); end != std::string::npos) {
                std::string line = buffer_.substr(0, end);
                buffer_.erase(0, end + 1);
                lines.push_back(line);
                return line;
            }
            const long long left = std::max(0LL, timeoutMs - msSince(start));
            pollfd p{out_, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(left)) <= 0) {
                if (left == 0) return std::nullopt;
                continue;
            }
            char chunk[512];
            const ssize_t n = ::read(out_, chunk, sizeof chunk);
            if (n <= 0) return std::nullopt;
            buffer_.append(chunk, static_cast<std::size_t>(n));
        }
    }

    // Its exit status, or -1 when it had not ended within timeoutMs (it is then killed).
    int exitStatus(int timeoutMs = 10000) {
        const auto start = Clock::now();
        while (!ended()) {
            if (msSince(start) > timeoutMs) {
                killNow();
                return -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        while (nextLine(0)) {
        }
        return *status_;
    }

    void killNow() {
        if (pid_ <= 0) return;  // kill(-1) would reach every process of the user
        ::kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

    std::vector<std::string> lines;

private:
    static long long msSince(Clock::time_point start) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    }

    pid_t pid_ = -1;
    int out_ = -1;
    std::optional<int> status_;
    std::string buffer_;
};

// The companion written from the protocol alone (tests/peers/companion_protocol_peer.c).
class ProtocolPeer : public Peer {
public:
    explicit ProtocolPeer(const std::vector<std::string>& arguments) : Peer(arguments, TINTAL_PROTOCOL_PEER) {}
};

}  // namespace tintal
