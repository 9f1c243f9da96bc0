#pragma once
// The Windows window-thread dispatcher: a hidden message-only window receives one wake message per
// burst of post() calls, and a WM_TIMER armed at the nearest timer deadline.
//
// Responsibilities, beyond the EventLoop contract (the rules of the Linux loop hold here too):
// - Timers and posted work run from the window procedure as well as from our own loop, so they keep
//   going while a modal loop we do not own has the thread: a message box, a dialog, the tray menu.
// - One dispatch pass runs the posted work queued when the pass starts, in order, then every timer
//   due at that moment once. Work posted during a pass waits for the next one.
// - A timer's next deadline is set before its handler runs, to max(previous deadline + interval,
//   now): a handler that lags gets one late call, not a burst of catch-up calls.
// - pump(), processPending() and run() dispatch the messages of every window of the thread. A WM_QUIT
//   that pump() or processPending() takes from the queue is posted again when they return, so the
//   loop above them still ends; run() ends on it and consumes it.
// - quit() only ends run() (the innermost one); a pump() always waits its full time. A quit() made
//   outside run() makes the next run() return at once.
// - An exception thrown by a task, a timer or a message handler propagates out of the dispatching
//   call (processPending, pump or run) and never unwinds through the system's frames, which a 32-bit
//   build cannot do. One thrown while a modal loop of the system dispatched comes out of the next
//   dispatching call. The loop stays usable, as on Linux.
// - Created, used and destroyed on one thread, which becomes the window thread. The constructor
//   throws std::system_error when the window cannot be created. Work still queued at destruction is
//   dropped without running.
#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <utility>

#include "platform/queued_event_loop.h"

struct HWND__;
struct tagMSG;

namespace tintal {

// Deadlines in µs.
class Win32EventLoop : public QueuedEventLoop {
public:
    using MessageHandler = std::function<void(std::uintptr_t wParam, std::intptr_t lParam)>;
    using MessageFilter = std::function<bool(tagMSG& message)>;

    Win32EventLoop();
    ~Win32EventLoop() override;

    double localNow() const override;
    void processPending() override;
    void pump(int ms) override;
    void run() override;

    // The hidden window, for the notifications the system sends to a window (waveOut's MM_WOM_DONE).
    HWND__* window() const { return window_; }
    // Routes a message sent or posted to window() to handler, on the window thread; an empty handler
    // removes the route. WM_APP itself is the loop's wake message; adapters take WM_APP + 1 and up.
    void setMessageHandler(unsigned message, MessageHandler handler);
    // Sees every message this loop takes from the queue before it is dispatched; true consumes it.
    // The windows use it for IsDialogMessage, so that Tab moves between controls.
    void setMessageFilter(MessageFilter filter) { filter_ = std::move(filter); }
    // For window procedures of our own: an exception thrown by fn is kept and rethrown by the next
    // dispatching call of this loop instead of unwinding through DispatchMessage.
    void callGuarded(const std::function<void()>& fn);

private:
    struct Procedure;  // the window procedure, in the .cpp
    friend struct Procedure;
    class QuitKeeper;

    bool onWindowMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
    void wake() override;
    // Keeps the window's WM_TIMER on the nearest deadline, for the modal loops that are not ours.
    void timersChanged() override;
    // Dispatches what the queue holds now. Returns true when run() must end: a WM_QUIT or a quit()
    // seen with forRun set; without it a WM_QUIT goes to keeper.
    bool drainMessages(QuitKeeper* keeper, bool forRun);
    // Blocks until a message arrives, a timer falls due or untilUs (monotonic µs, < 0: none) passes.
    void waitForWork(std::int64_t untilUs);
    void rethrowDeferred();

    HWND__* window_ = nullptr;
    std::int64_t armedForUs_ = -1;  // the deadline the window's WM_TIMER is set for; -1: none
    std::exception_ptr deferred_;
    std::map<unsigned, MessageHandler> handlers_;
    MessageFilter filter_;
};

}  // namespace tintal
