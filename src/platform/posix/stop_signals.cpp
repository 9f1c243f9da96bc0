#include "platform/posix/stop_signals.h"

#include <pthread.h>

namespace tintal {

StopSignals::StopSignals() {
    sigemptyset(&signals_);
    sigaddset(&signals_, SIGINT);
    sigaddset(&signals_, SIGTERM);
    sigaddset(&signals_, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &signals_, nullptr);
}

StopSignals::~StopSignals() { stop(); }

void StopSignals::watch(std::function<void()> onStop) {
    watcher_ = std::thread([signals = signals_, onStop = std::move(onStop)] {
        int signal = 0;
        sigwait(&signals, &signal);
        onStop();
    });
}

void StopSignals::stop() {
    if (!watcher_.joinable()) return;
    pthread_kill(watcher_.native_handle(), SIGTERM);
    watcher_.join();
}

}  // namespace tintal
