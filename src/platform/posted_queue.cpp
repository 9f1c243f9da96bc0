#include "platform/posted_queue.h"

#include <utility>

namespace tintal {

bool PostedQueue::push(Task fn) {
    if (!fn) return false;
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(fn));
    return true;
}

bool PostedQueue::claimWake() {
    std::lock_guard lock(mutex_);
    return !std::exchange(wakePending_, true);
}

void PostedQueue::wakeHandled() {
    std::lock_guard lock(mutex_);
    wakePending_ = false;
}

bool PostedQueue::take(Task& task) {
    std::lock_guard lock(mutex_);
    if (tasks_.empty()) return false;
    task = std::move(tasks_.front());
    tasks_.pop_front();
    return true;
}

void PostedQueue::runBatch() {
    std::size_t count = 0;
    {
        std::lock_guard lock(mutex_);
        count = tasks_.size();
        wakePending_ = false;
    }
    for (; count > 0; --count) {
        Task task;
        if (!take(task)) return;
        task();
    }
}

bool PostedQueue::runAll() {
    for (bool ran = false;; ran = true) {
        Task task;
        if (!take(task)) return ran;
        task();
    }
}

}  // namespace tintal
