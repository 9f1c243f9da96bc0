// The notification-area icon under Wine's system tray.
#include "ui/win32/tray_icon.h"

#include <gtest/gtest.h>

namespace tintal {
namespace {

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
