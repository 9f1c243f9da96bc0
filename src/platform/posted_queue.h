#pragma once
// The work other threads hand to an event loop's window thread, run in the order it was posted.
//
// push() is thread-safe; the rest runs on the window thread. Tasks are taken off the queue one at a
// time, so a throwing task leaves the others queued and a nested pump inside a task runs the ones
// after it. An exception thrown by a task propagates to the caller.
#include <cstddef>
#include <deque>
#include <mutex>

#include "platform/event_loop.h"

namespace tintal {

class PostedQueue {
public:
    using Task = EventLoop::Task;

    // Queues fn; an empty task is dropped and gives false.
    bool push(Task fn);
    // True once per burst of posts: the owner wakes its thread then. The flag clears when a batch
    // starts or the owner calls wakeHandled(), so no wake-up is lost.
    bool claimWake();
    void wakeHandled();

    // Runs the tasks queued when the call starts; work posted meanwhile waits for the next batch,
    // so a task that re-posts itself cannot starve the timers.
    void runBatch();
    // Runs until the queue is empty, work posted meanwhile included; false when nothing ran.
    bool runAll();

private:
    // Takes the front task; false when the queue is empty.
    bool take(Task& task);

    std::mutex mutex_;
    std::deque<Task> tasks_;
    bool wakePending_ = false;
};

}  // namespace tintal
