#include "platform/win32/win32_event_loop.h"

#include <windows.h>
// After windows.h, which it needs.
#include <mmsystem.h>

#include <algorithm>
#include <system_error>
#include <utility>

#include "base/date_time.h"

namespace tintal {

namespace {

constexpr UINT kWakeMessage = WM_APP;
constexpr UINT_PTR kTimerEventId = 1;
constexpr std::int64_t kUsPerMs = 1000;
constexpr wchar_t kWindowClass[] = L"TintalEventLoop";

[[noreturn]] void throwLastError(const char* what) {
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(), what);
}

std::int64_t monotonicUs() {
    static const std::int64_t frequency = [] {
        LARGE_INTEGER f{};
        QueryPerformanceFrequency(&f);  // cannot fail since Windows XP
        return static_cast<std::int64_t>(f.QuadPart);
    }();
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    const std::int64_t c = counter.QuadPart;
    // Split so that c * 1e6 cannot overflow after a long uptime.
    return c / frequency * 1'000'000 + c % frequency * 1'000'000 / frequency;
}

// Milliseconds to wait until dueUs, rounded up so the wait never ends before it.
DWORD msUntil(std::int64_t dueUs, std::int64_t nowUs) {
    if (dueUs <= nowUs) return 0;
    const std::int64_t ms = (dueUs - nowUs + kUsPerMs - 1) / kUsPerMs;
    return static_cast<DWORD>(std::min<std::int64_t>(ms, INFINITE - 1));
}

HINSTANCE thisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&monotonicUs), &module);
    return module;
}

}  // namespace

struct Win32EventLoop::Procedure {
    static LRESULT CALLBACK call(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* loop = reinterpret_cast<Win32EventLoop*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (loop != nullptr && loop->onWindowMessage(message, wParam, lParam)) return 0;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    static void registerClass() {
        // Once per process; a second loop (or thread) reuses the class.
        static const ATOM atom = [] {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = &Procedure::call;
            wc.hInstance = thisModule();
            wc.lpszClassName = kWindowClass;
            const ATOM registered = RegisterClassExW(&wc);
            if (registered == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) throwLastError("RegisterClassExW");
            return registered;
        }();
        static_cast<void>(atom);
    }
};

// Holds back a WM_QUIT that a pump took from the queue and posts it again when the pump returns, by
// any way, so the modal loop or run() above it ends in turn.
class Win32EventLoop::QuitKeeper {
public:
    QuitKeeper() = default;
    QuitKeeper(const QuitKeeper&) = delete;
    QuitKeeper& operator=(const QuitKeeper&) = delete;
    ~QuitKeeper() {
        if (seen_) PostQuitMessage(exitCode_);
    }
    void keep(WPARAM exitCode) {
        seen_ = true;
        exitCode_ = static_cast<int>(exitCode);
    }

private:
    bool seen_ = false;
    int exitCode_ = 0;
};

Win32EventLoop::Win32EventLoop() : QueuedEventLoop(monotonicUs, kUsPerMs) {
    Procedure::registerClass();
    window_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, thisModule(), this);
    if (window_ == nullptr) throwLastError("CreateWindowExW");
    // The system's default 15.6 ms timer step would make the clock's tick up to that late after the
    // second; 1 ms keeps it within a few.
    timeBeginPeriod(1);
}

Win32EventLoop::~Win32EventLoop() {
    // Detached first, so nothing the window receives while it goes reaches a half-destroyed loop.
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    KillTimer(window_, kTimerEventId);
    DestroyWindow(window_);
    timeEndPeriod(1);
}

double Win32EventLoop::localNow() const {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    DateTimeFields f;
    f.year = st.wYear;
    f.month = st.wMonth;
    f.day = st.wDay;
    f.hour = st.wHour;
    f.minute = st.wMinute;
    f.second = std::min<int>(st.wSecond, 59);
    f.millisecond = std::min<int>(st.wMilliseconds, 999);
    return encodeDateTime(f);
}

// Not called by stopTimer(): the window's WM_TIMER may then come early, and the pass it starts sets it again.
void Win32EventLoop::timersChanged() {
    const auto next = timers_.nextDeadline();
    if (!next) {
        if (armedForUs_ >= 0) KillTimer(window_, kTimerEventId);
        armedForUs_ = -1;
        return;
    }
    const std::int64_t nextUs = *next;
    if (nextUs == armedForUs_) return;
    const DWORD ms = std::clamp<DWORD>(msUntil(nextUs, monotonicUs()), USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    if (SetTimer(window_, kTimerEventId, ms, nullptr) != 0) armedForUs_ = nextUs;
}

void Win32EventLoop::wake() {
    // One message per burst: the flag clears when a pass takes the queue, so no wake-up is lost.
    if (posted_.claimWake() && !PostMessageW(window_, kWakeMessage, 0, 0)) {
        posted_.wakeHandled();  // a full queue: the next post tries again
    }
}

bool Win32EventLoop::onWindowMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (message == kWakeMessage || (message == WM_TIMER && wParam == kTimerEventId)) {
        // A modal loop that is not ours dispatched it: run the pass from here.
        if (message == WM_TIMER) armedForUs_ = -1;  // it may have come early: set it again after the pass
        callGuarded([this] { dispatchPass(); });
        return true;
    }
    const auto it = handlers_.find(message);
    if (it == handlers_.end()) return false;
    const MessageHandler handler = it->second;  // a copy: the handler may replace its own route
    callGuarded([&] { handler(wParam, lParam); });
    return true;
}

void Win32EventLoop::setMessageHandler(unsigned message, MessageHandler handler) {
    if (handler) {
        handlers_[message] = std::move(handler);
    } else {
        handlers_.erase(message);
    }
}

void Win32EventLoop::callGuarded(const std::function<void()>& fn) {
    try {
        fn();
    } catch (...) {
        // The first one wins; later ones while it waits would only repeat the story.
        if (!deferred_) deferred_ = std::current_exception();
    }
}

void Win32EventLoop::rethrowDeferred() {
    if (deferred_) std::rethrow_exception(std::exchange(deferred_, nullptr));
}

bool Win32EventLoop::drainMessages(QuitKeeper* keeper, bool forRun) {
    MSG msg{};
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            if (forRun) return true;
            keeper->keep(msg.wParam);
            continue;
        }
        // Our own wake-ups: the pass that follows does their work, without the system's frames around it.
        if (msg.hwnd == window_ && msg.message == kWakeMessage) {
            posted_.wakeHandled();  // should that pass not come, the next post() wakes the thread again
            continue;
        }
        if (msg.hwnd == window_ && msg.message == WM_TIMER && msg.wParam == kTimerEventId) {
            armedForUs_ = -1;
            continue;
        }
        if (filter_ && filter_(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        rethrowDeferred();
        if (forRun && quitRequested_) return true;
    }
    rethrowDeferred();  // from a message another thread sent, which PeekMessage handled
    return false;
}

void Win32EventLoop::waitForWork(std::int64_t untilUs) {
    const std::int64_t wakeUs = wakeDeadline(untilUs);
    const DWORD timeout = wakeUs < 0 ? INFINITE : msUntil(wakeUs, monotonicUs());
    // MWMO_INPUTAVAILABLE: a message that arrived since the last peek ends the wait too.
    MsgWaitForMultipleObjectsEx(0, nullptr, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void Win32EventLoop::processPending() {
    QuitKeeper keeper;
    rethrowDeferred();
    drainMessages(&keeper, false);
    dispatchPass();
}

void Win32EventLoop::pump(int ms) {
    QuitKeeper keeper;
    const std::int64_t untilUs = monotonicUs() + std::max(0, ms) * kUsPerMs;
    rethrowDeferred();
    for (;;) {
        drainMessages(&keeper, false);
        dispatchPass();
        if (monotonicUs() >= untilUs) return;
        waitForWork(untilUs);
    }
}

void Win32EventLoop::run() {
    rethrowDeferred();
    while (!quitRequested_) {
        if (drainMessages(nullptr, true)) break;
        dispatchPass();
        if (quitRequested_) break;
        waitForWork(-1);
    }
    quitRequested_ = false;
}

}  // namespace tintal
