#include "platform/win32/win32_event_loop.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

#include "base/date_time.h"
#include "contracts/event_loop_contract.h"

namespace tintal {
namespace {

using contracts::kWatchdogMs;

double toDateTime(const SYSTEMTIME& st) {
    return encodeDateTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, std::min<int>(st.wSecond, 59),
                          st.wMilliseconds);
}

// Leaves the thread's queue as a test found it: Windows keeps it across loops, a WM_QUIT included.
void flushThreadQueue() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

bool quitWaitingInQueue(WPARAM* exitCode) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            *exitCode = msg.wParam;
            return true;
        }
    }
    return false;
}

}  // namespace

namespace contracts {

template <>
struct LoopTraits<Win32EventLoop> {
    static std::unique_ptr<Win32EventLoop> make() { return std::make_unique<Win32EventLoop>(); }
    static void tidy() { flushThreadQueue(); }
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, EventLoopContract, Win32EventLoop);
INSTANTIATE_TYPED_TEST_SUITE_P(Win32, RealTimeEventLoopContract, Win32EventLoop);

}  // namespace contracts

namespace {

class Win32EventLoopTest : public ::testing::Test {
protected:
    void TearDown() override { flushThreadQueue(); }
};

TEST_F(Win32EventLoopTest, AWmQuitMetInsideAPumpIsLeftForTheLoopAbove) {
    Win32EventLoop loop;
    // The program's own windows end it with PostQuitMessage; a pump on the way must not swallow it.
    PostQuitMessage(7);
    int ticks = 0;
    loop.startTimer(10, [&] { ++ticks; });
    const std::int64_t start = loop.monotonicMs();
    loop.pump(60);
    EXPECT_GE(loop.monotonicMs() - start, 60);
    EXPECT_GE(ticks, 2);  // dispatching went on after the WM_QUIT
    WPARAM code = 0;
    ASSERT_TRUE(quitWaitingInQueue(&code));
    EXPECT_EQ(code, 7u);

    // run() ends on it and consumes it, also when a pump inside run() met it first.
    const auto watchdog = loop.startTimer(kWatchdogMs, [&] {
        ADD_FAILURE() << "WM_QUIT did not end run()";
        loop.quit();
    });
    loop.post([&] {
        PostQuitMessage(3);
        loop.pump(20);
        loop.processPending();
    });
    loop.run();
    EXPECT_FALSE(quitWaitingInQueue(&code));
    loop.stopTimer(watchdog);
}

// A dialog run by the system's own modal loop, as a message box or the tray menu would be.
INT_PTR runModalDialog(DLGPROC proc, LPARAM param) {
    struct alignas(DWORD) Template {
        DLGTEMPLATE dialog;
        WORD menu, windowClass, title;
    } tpl{};
    tpl.dialog.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
    tpl.dialog.cx = 100;
    tpl.dialog.cy = 40;
    return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), &tpl.dialog, nullptr, proc, param);
}

struct ModalProbe {
    HWND dialog = nullptr;
    bool watchdogFired = false;
};

INT_PTR CALLBACK probeDialogProc(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    auto* probe = reinterpret_cast<ModalProbe*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG:
            probe = reinterpret_cast<ModalProbe*>(lParam);
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            probe->dialog = dialog;
            SetTimer(dialog, 1, kWatchdogMs, nullptr);  // the dialog's own timer: it does not depend on the loop
            return TRUE;
        case WM_TIMER:
            probe->watchdogFired = true;
            EndDialog(dialog, 0);
            return TRUE;
        default: return FALSE;
    }
}

TEST_F(Win32EventLoopTest, TimersAndPostsKeepRunningInsideTheSystemsModalLoops) {
    Win32EventLoop loop;
    ModalProbe probe;
    const auto windowThread = std::this_thread::get_id();
    int ticks = 0;
    std::atomic<int> posted{0};
    int postedOffThread = 0;
    std::thread poster;
    const auto timer = loop.startTimer(15, [&] {
        if (++ticks == 1) {
            poster = std::thread([&] {
                for (int i = 0; i < 10; ++i) {
                    loop.post([&] {
                        if (std::this_thread::get_id() != windowThread) ++postedOffThread;
                        ++posted;
                    });
                }
            });
        }
        if (ticks >= 6 && posted == 10 && probe.dialog != nullptr) EndDialog(probe.dialog, 42);
    });
    const INT_PTR result = runModalDialog(&probeDialogProc, reinterpret_cast<LPARAM>(&probe));
    loop.stopTimer(timer);
    loop.processPending();  // a pass without timers disarms the window's WM_TIMER
    if (poster.joinable()) poster.join();
    ASSERT_NE(result, -1) << "the dialog could not be created: " << GetLastError();
    EXPECT_FALSE(probe.watchdogFired);
    EXPECT_EQ(result, 42);
    EXPECT_GE(ticks, 6);
    EXPECT_EQ(posted, 10);
    EXPECT_EQ(postedOffThread, 0);

    // Without a timer the wake message alone brings the work in. An exception thrown while the
    // system's loop dispatched comes out of our next dispatching call.
    probe = ModalProbe{};
    loop.post([&] {
        EndDialog(probe.dialog, 1);
        throw std::runtime_error("inside the dialog");
    });
    EXPECT_EQ(runModalDialog(&probeDialogProc, reinterpret_cast<LPARAM>(&probe)), 1);
    EXPECT_FALSE(probe.watchdogFired);
    EXPECT_THROW(loop.processPending(), std::runtime_error);
    EXPECT_NO_THROW(loop.processPending());
}

TEST_F(Win32EventLoopTest, AMessageHandlersExceptionComesOutOfThePumpThatDispatchedIt) {
    Win32EventLoop loop;
    loop.setMessageHandler(WM_APP + 1, [](std::uintptr_t, std::intptr_t) { throw std::logic_error("handler"); });
    PostMessageW(loop.window(), WM_APP + 1, 0, 0);
    EXPECT_THROW(loop.pump(20), std::logic_error);
    EXPECT_NO_THROW(loop.pump(10));
}

TEST_F(Win32EventLoopTest, MessagesToTheHiddenWindowReachTheirHandlerOnTheWindowThread) {
    Win32EventLoop loop;
    ASSERT_TRUE(IsWindow(loop.window()));
    const auto windowThread = std::this_thread::get_id();
    std::vector<std::pair<std::uintptr_t, std::intptr_t>> got;
    bool offThread = false;
    loop.setMessageHandler(WM_APP + 5, [&](std::uintptr_t w, std::intptr_t l) {
        offThread = offThread || std::this_thread::get_id() != windowThread;
        got.emplace_back(w, l);
    });
    PostMessageW(loop.window(), WM_APP + 5, 11, -12);
    // From another thread, as the system's sound driver does.
    std::thread([&] { PostMessageW(loop.window(), WM_APP + 5, 13, 14); }).join();
    loop.pump(20);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0], (std::pair<std::uintptr_t, std::intptr_t>{11, -12}));
    EXPECT_EQ(got[1], (std::pair<std::uintptr_t, std::intptr_t>{13, 14}));
    EXPECT_FALSE(offThread);

    // A message sent from another thread blocks that thread until the window thread has handled it.
    std::atomic<bool> answered{false};
    std::thread sender([&] {
        SendMessageW(loop.window(), WM_APP + 5, 21, 22);
        answered = true;
    });
    for (int i = 0; i < 200 && !answered; ++i) loop.pump(10);
    sender.join();
    EXPECT_TRUE(answered);
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[2].first, 21u);
    EXPECT_FALSE(offThread);

    // Removing the route leaves the message to the default procedure.
    loop.setMessageHandler(WM_APP + 5, nullptr);
    PostMessageW(loop.window(), WM_APP + 5, 31, 32);
    loop.pump(20);
    EXPECT_EQ(got.size(), 3u);
}

// A window of the program's own, as the settings window is.
struct OwnWindow {
    static inline int received = 0;
    static inline Win32EventLoop* loop = nullptr;

    static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_USER) {
            ++received;
            if (wParam == 99) loop->callGuarded([] { throw std::runtime_error("window procedure"); });
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    OwnWindow() {
        static const ATOM atom = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = &OwnWindow::proc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = L"TintalTestWindow";
            return RegisterClassW(&wc);
        }();
        static_cast<void>(atom);
        hwnd = CreateWindowExW(0, L"TintalTestWindow", L"test", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    }
    ~OwnWindow() { DestroyWindow(hwnd); }
    HWND hwnd = nullptr;
};

TEST_F(Win32EventLoopTest, OtherWindowsAreDispatchedThroughTheFilter) {
    Win32EventLoop loop;
    OwnWindow window;
    ASSERT_NE(window.hwnd, nullptr);
    OwnWindow::received = 0;
    OwnWindow::loop = &loop;

    std::vector<WPARAM> filtered;
    loop.setMessageFilter([&](MSG& msg) {
        if (msg.hwnd != window.hwnd) return false;
        filtered.push_back(msg.wParam);
        return msg.wParam == 1;  // consumed, as IsDialogMessage takes a Tab key
    });
    PostMessageW(window.hwnd, WM_USER, 1, 0);
    PostMessageW(window.hwnd, WM_USER, 2, 0);
    loop.pump(20);
    EXPECT_EQ(filtered, (std::vector<WPARAM>{1, 2}));
    EXPECT_EQ(OwnWindow::received, 1);

    // An exception a window procedure hands to the loop comes out of the pump that dispatched it.
    loop.setMessageFilter(nullptr);
    PostMessageW(window.hwnd, WM_USER, 99, 0);
    EXPECT_THROW(loop.pump(20), std::runtime_error);
    EXPECT_EQ(OwnWindow::received, 2);
    EXPECT_NO_THROW(loop.pump(10));
    OwnWindow::loop = nullptr;
}

TEST_F(Win32EventLoopTest, ClocksReadTheSystemTime) {
    Win32EventLoop loop;
    SYSTEMTIME before{}, after{};
    GetLocalTime(&before);
    const double now = loop.localNow();
    GetLocalTime(&after);
    EXPECT_GE(now, toDateTime(before));
    EXPECT_LE(now, toDateTime(after));

    // Read from the same counter as the system's tick count, give or take its coarser step.
    const auto ticks = static_cast<std::int64_t>(GetTickCount64());
    const std::int64_t drift = loop.monotonicMs() - ticks;
    loop.pump(100);
    EXPECT_NEAR(static_cast<double>(loop.monotonicMs() - static_cast<std::int64_t>(GetTickCount64())),
                static_cast<double>(drift), 40.0);
}

TEST_F(Win32EventLoopTest, DestructionRemovesTheWindowAndDropsQueuedWork) {
    auto token = std::make_shared<int>(0);
    HWND hwnd = nullptr;
    bool ran = false;
    {
        Win32EventLoop loop;
        hwnd = loop.window();
        loop.startTimer(1, [token] {});
        loop.post([token, &ran] { ran = true; });
        EXPECT_EQ(token.use_count(), 3);
    }
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(token.use_count(), 1);  // the timer and the queued task were released
    EXPECT_FALSE(ran);

    // Many loops, one after the other and side by side, each get a window of their own.
    std::vector<std::unique_ptr<Win32EventLoop>> loops;
    for (int i = 0; i < 20; ++i) loops.push_back(std::make_unique<Win32EventLoop>());
    std::vector<int> hits(loops.size());
    for (std::size_t i = 0; i < loops.size(); ++i) loops[i]->post([&hits, i] { ++hits[i]; });
    // One pump dispatches the messages of every window of the thread, the other loops' wake-ups too.
    loops.front()->pump(20);
    EXPECT_EQ(std::count(hits.begin(), hits.end(), 1), static_cast<std::ptrdiff_t>(hits.size()));
}

}  // namespace
}  // namespace tintal
