#pragma once
#include <functional>

#include "platform/event_loop.h"

namespace tintal {

// A window timer: runs onTimer every interval while enabled. Changing the interval of a running
// timer restarts its count.
class Timer {
public:
    Timer(EventLoop& loop, int intervalMs) : loop_(loop), interval_(intervalMs) {}
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    ~Timer() { stop(); }

    bool enabled() const { return id_ != 0; }
    void setEnabled(bool enabled) { enabled ? start() : stop(); }
    void start() {
        if (id_ == 0) id_ = loop_.startTimer(interval_, [this] { tick(); });
    }
    void stop() {
        if (id_ != 0) loop_.stopTimer(id_);
        id_ = 0;
    }
    int interval() const { return interval_; }
    void setInterval(int intervalMs) {
        if (intervalMs == interval_) return;
        interval_ = intervalMs;
        if (enabled()) {
            stop();
            start();
        }
    }
    std::function<void()> onTimer;

private:
    void tick() {
        if (onTimer) onTimer();
    }
    EventLoop& loop_;
    int interval_;
    EventLoop::TimerId id_ = 0;
};

}  // namespace tintal
