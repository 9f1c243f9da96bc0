// The notification-area icon under Wine's system tray.
#include "ui/win32/tray_icon.h"

#include <gtest/gtest.h>

#include "shell/main_shell.h"

namespace tintal {
namespace {

// The portable shell reads the icon's messages with numbers of its own: they must be the system's.
static_assert(window_message::kUser == WM_USER);
static_assert(window_message::kLeftButtonDoubleClick == WM_LBUTTONDBLCLK);
static_assert(window_message::kRightButtonUp == WM_RBUTTONUP);
static_assert(MainShell::kTrayMessage == WM_USER + 10);

TEST(TrayIcon, IsAddedOnceAndRemovedOnce) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    {
        TrayIcon icon(owner, WM_USER + 10, LoadIconW(nullptr, IDI_APPLICATION), L"Tintal");
        EXPECT_TRUE(icon.add());
        EXPECT_TRUE(icon.add());
        EXPECT_TRUE(icon.shown());
        icon.remove();
        EXPECT_FALSE(icon.shown());
        icon.remove();
        EXPECT_TRUE(icon.add());
    }  // the destructor takes it away
    DestroyWindow(owner);
}

}  // namespace
}  // namespace tintal
