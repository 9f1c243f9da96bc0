#include "platform/win32/win32_event_loop.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

#include "base/date_time.h"

namespace tintal {
namespace {

// Ends a run() that would otherwise hang when the behaviour under test is broken.
constexpr int kWatchdogMs = 10000;

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

class Win32EventLoopTest : public ::testing::Test {
protected:
    void TearDown() override { flushThreadQueue(); }
};

TEST_F(Win32EventLoopTest, TimersKeepTheirCadenceWithoutCatchUpBursts) {
    Win32EventLoop loop;
    // Deadlines are spaced by at least one interval, so 300 ms hold at most 15 calls of a 20 ms timer.
    int ticks = 0;
    loop.startTimer(20, [&] { ++ticks; });
    loop.pump(300);
    EXPECT_GE(ticks, 5);
    EXPECT_LE(ticks, 15);

    // A handler that lags 200 ms on a 10 ms timer gets one late call, not the 20 it missed.
    Win32EventLoop lagging;
    int calls = 0;
    lagging.startTimer(10, [&] {
        if (++calls == 1) std::this_thread::sleep_for(std::chrono::milliseconds(200));
    });
    lagging.pump(300);
    EXPECT_GE(calls, 2);
    EXPECT_LE(calls, 16);  // catching up would make it about 30

    // processPending fires a timer that is several intervals late exactly once, and does not wait.
    Win32EventLoop late;
    int lateCalls = 0;
    late.startTimer(5, [&] { ++lateCalls; });
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    late.processPending();
    EXPECT_EQ(lateCalls, 1);
}

TEST_F(Win32EventLoopTest, StopTimerEndsCallsEvenFromInsideTheHandler) {
    Win32EventLoop loop;
    int calls = 0;
    EventLoop::TimerId id = 0;
    id = loop.startTimer(5, [&] {
        if (++calls == 3) {
            loop.stopTimer(id);
            loop.pump(40);  // a nested wait must not fire the stopped timer again
        }
    });
    EXPECT_NE(id, 0);
    int other = 0;
    const EventLoop::TimerId otherId = loop.startTimer(5, [&] { ++other; });
    EXPECT_NE(otherId, id);
    loop.pump(150);
    EXPECT_EQ(calls, 3);
    EXPECT_GT(other, 0);

    loop.stopTimer(otherId);
    const int otherBefore = other;
    loop.stopTimer(otherId);  // already stopped, unknown and zero ids are ignored
    loop.stopTimer(12345);
    loop.stopTimer(0);
    loop.pump(40);
    EXPECT_EQ(other, otherBefore);
}

TEST_F(Win32EventLoopTest, NestedPumpReentersTheTimerThatIsWaiting) {
    Win32EventLoop loop;
    int ticks = 0, depth = 0, deepest = 0;
    loop.startTimer(10, [&] {
        ++ticks;
        ++depth;
        deepest = std::max(deepest, depth);
        if (ticks == 1) loop.pump(100);
        --depth;
    });
    loop.pump(150);
    EXPECT_EQ(deepest, 2);  // the handler ran again while its first call was pumping
    EXPECT_GE(ticks, 3);
    EXPECT_EQ(depth, 0);

    // Two timers due in the same pass: when the first one's pump has already run the second, the
    // pass does not run it again on the deadline that pump used up.
    Win32EventLoop both;
    bool firstPumping = false, firstReturned = false;
    int secondCalls = 0, staleCalls = 0;
    both.startTimer(10, [&] {
        if (firstPumping || firstReturned) return;
        firstPumping = true;
        both.pump(35);
        firstPumping = false;
        firstReturned = true;
        both.post([&] { firstReturned = false; });  // runs at the start of the next pass
    });
    both.startTimer(10, [&] {
        ++secondCalls;
        if (firstReturned) ++staleCalls;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // both overdue when the pass starts
    both.processPending();
    EXPECT_GE(secondCalls, 2);
    EXPECT_EQ(staleCalls, 0);
}

TEST_F(Win32EventLoopTest, PostsFromOtherThreadsAllArriveInOrderOnTheWindowThread) {
    constexpr int kThreads = 4, kPerThread = 500;
    Win32EventLoop loop;
    const auto windowThread = std::this_thread::get_id();
    std::vector<std::vector<int>> seen(kThreads);
    int total = 0, offThread = 0;

    std::vector<std::thread> posters;
    for (int t = 0; t < kThreads; ++t) {
        posters.emplace_back([&, t] {
            for (int i = 0; i < kPerThread; ++i) {
                loop.post([&, t, i] {
                    if (std::this_thread::get_id() != windowThread) ++offThread;
                    seen[t].push_back(i);
                    if (++total == kThreads * kPerThread) loop.quit();
                });
            }
        });
    }
    loop.startTimer(kWatchdogMs, [&] { loop.quit(); });
    loop.run();
    for (auto& p : posters) p.join();

    EXPECT_EQ(total, kThreads * kPerThread);
    EXPECT_EQ(offThread, 0);
    for (int t = 0; t < kThreads; ++t) {
        ASSERT_EQ(seen[t].size(), static_cast<std::size_t>(kPerThread)) << "thread " << t;
        EXPECT_TRUE(std::is_sorted(seen[t].begin(), seen[t].end())) << "thread " << t;
    }
}

TEST_F(Win32EventLoopTest, PumpWaitsItsFullTimeWhileDispatching) {
    Win32EventLoop loop;
    const std::int64_t start = loop.monotonicMs();
    std::int64_t ranAt = -1;
    int ticks = 0;
    loop.startTimer(25, [&] { ++ticks; });
    std::thread poster([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        loop.post([&] { ranAt = loop.monotonicMs(); });
    });
    loop.pump(200);
    poster.join();
    EXPECT_GE(loop.monotonicMs() - start, 200);
    ASSERT_GE(ranAt, 0);
    EXPECT_LT(ranAt - start, 150);  // the post woke the wait instead of waiting for its end
    EXPECT_GE(ticks, 3);
    EXPECT_LE(ticks, 8);

    // A quit() inside a pump belongs to run(): the pump still waits its time.
    loop.post([&] { loop.quit(); });
    const std::int64_t again = loop.monotonicMs();
    loop.pump(50);
    EXPECT_GE(loop.monotonicMs() - again, 50);

    // pump(0) and negative times dispatch once without waiting for anything.
    int quick = 0;
    loop.post([&] { ++quick; });
    loop.pump(0);
    loop.post([&] { ++quick; });
    loop.pump(-5);
    EXPECT_EQ(quick, 2);
}

TEST_F(Win32EventLoopTest, QuitEndsRunFromAPostOrAfterNestedPumpsUnwind) {
    Win32EventLoop loop;
    const auto watchdog = loop.startTimer(kWatchdogMs, [&] {
        ADD_FAILURE() << "quit() did not end run()";
        loop.quit();
    });
    std::thread poster([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        loop.post([&] { loop.quit(); });
    });
    loop.run();
    poster.join();

    // quit() made deep inside a pump ends run() only after that pump has finished its wait.
    bool pumpFinished = false, ranAfterQuit = false;
    std::int64_t pumped = 0;
    loop.post([&] {
        loop.post([&] {
            loop.post([&] { loop.quit(); });
            loop.pump(20);
        });
        const std::int64_t start = loop.monotonicMs();
        loop.pump(60);
        pumped = loop.monotonicMs() - start;
        pumpFinished = true;
        loop.post([&] { ranAfterQuit = true; });
    });
    loop.run();
    EXPECT_TRUE(pumpFinished);
    EXPECT_GE(pumped, 60);
    EXPECT_FALSE(ranAfterQuit);

    // The quit was consumed: the next run() keeps going until it is asked again.
    int ticks = 0;
    loop.startTimer(5, [&] {
        if (++ticks == 3) loop.quit();
    });
    loop.run();
    EXPECT_EQ(ticks, 3);
    EXPECT_TRUE(ranAfterQuit);

    // A quit() made outside run() makes the next one return at once.
    loop.quit();
    const std::int64_t before = loop.monotonicMs();
    loop.run();
    EXPECT_LT(loop.monotonicMs() - before, 1000);
    loop.stopTimer(watchdog);
}

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

TEST_F(Win32EventLoopTest, ProcessPendingRunsQueuedWorkWithoutWaiting) {
    Win32EventLoop loop;
    loop.startTimer(5000, [] {});
    std::vector<int> order;
    loop.post([&] { order.push_back(1); });
    loop.post([&] { order.push_back(2); });
    const std::int64_t start = loop.monotonicMs();
    loop.processPending();
    EXPECT_LT(loop.monotonicMs() - start, 2500);  // a pending timer is no reason to wait
    EXPECT_EQ(order, (std::vector<int>{1, 2}));

    // Work posted by a task waits for the next pass, so a task that re-posts itself cannot hang it.
    int reposts = 0;
    std::function<void()> again = [&] {
        ++reposts;
        loop.post(again);
    };
    loop.post(again);
    loop.processPending();
    EXPECT_EQ(reposts, 1);
    loop.processPending();
    EXPECT_EQ(reposts, 2);

    // Nor can it starve a timer that falls due meanwhile.
    int ticks = 0;
    loop.startTimer(10, [&] { ++ticks; });
    loop.pump(100);
    EXPECT_GE(ticks, 3);
    EXPECT_GE(reposts, 4);
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

TEST_F(Win32EventLoopTest, ExceptionsPropagateAndTheLoopStaysUsable) {
    Win32EventLoop loop;
    bool after = false;
    loop.post([] { throw std::runtime_error("task"); });
    loop.post([&] { after = true; });
    EXPECT_THROW(loop.processPending(), std::runtime_error);
    EXPECT_FALSE(after);
    loop.processPending();
    EXPECT_TRUE(after);

    int calls = 0;
    loop.startTimer(5, [&] {
        if (++calls == 1) throw std::runtime_error("timer");
    });
    EXPECT_THROW(loop.pump(100), std::runtime_error);
    loop.pump(50);
    EXPECT_GE(calls, 2);  // the throwing timer was rescheduled before its call

    // A message handler's exception comes out of the pump that dispatched the message.
    loop.setMessageHandler(WM_APP + 1, [](std::uintptr_t, std::intptr_t) { throw std::logic_error("handler"); });
    PostMessageW(loop.window(), WM_APP + 1, 0, 0);
    EXPECT_THROW(loop.pump(20), std::logic_error);

    // And run() lets one out too, keeping the next run() usable.
    loop.post([] { throw std::runtime_error("in run"); });
    EXPECT_THROW(loop.run(), std::runtime_error);
    loop.post([&] { loop.quit(); });
    loop.run();
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

    // Milliseconds are part of the reading: a few samples apart cannot all fall on a whole second.
    bool sawMilliseconds = false;
    for (int i = 0; i < 8 && !sawMilliseconds; ++i) {
        sawMilliseconds = decodeDateTime(loop.localNow()).millisecond != 0;
        loop.pump(7);
    }
    EXPECT_TRUE(sawMilliseconds);

    std::int64_t previous = loop.monotonicMs();
    for (int i = 0; i < 10000; ++i) {
        const std::int64_t current = loop.monotonicMs();
        ASSERT_GE(current, previous);
        previous = current;
    }
    loop.pump(20);
    EXPECT_GE(loop.monotonicMs() - previous, 20);
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
