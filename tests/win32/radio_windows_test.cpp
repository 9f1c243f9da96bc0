// The radio windows on a real desktop: the port window, the recorder window and the main window's
// indicators, bound to their models. TINTAL_TEST_HOLD_MS keeps them on screen that long before the
// clicks, for a screenshot.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/tform1.h"
#include "radio/radio_station.h"
#include "ui/win32/com_window.h"
#include "ui/win32/main_window.h"
#include "ui/win32/record_window.h"
#include "win32/win32_program_rig.h"

namespace tintal {
namespace {

struct WindowsFixture : Win32ProgramRig {
    WindowsFixture() : Win32ProgramRig("clock") {
        main = createMainWindow(program, [] {});
        com = createComWindow(radio.com(), main);
        record = createRecordWindow(radio.record(), main);
        program.start();
        for (int i = 0; i < 50 && form.ConfigPending; ++i) loop.pump(20);
    }
    ~WindowsFixture() {
        program.close();
        DestroyWindow(record);
        DestroyWindow(com);
        DestroyWindow(main);
    }

    TForm1& form = program.form;
    RadioStation& radio = program.radio;
    HWND main = nullptr, com = nullptr, record = nullptr;
};

void holdForScreenshot(EventLoop& loop) {
    if (const char* hold = std::getenv("TINTAL_TEST_HOLD_MS")) loop.pump(std::atoi(hold));
}

TEST(RadioWindows, ThePortWindowListsAndChoosesAPort) {
    WindowsFixture f;
    f.form.MenuCOM.click();
    f.radio.ptt().key(true, true);  // the light on, for the picture
    f.loop.pump(200);
    ASSERT_TRUE(IsWindowVisible(f.com));
    HWND list = FindWindowExW(f.com, nullptr, L"LISTBOX", nullptr);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 3);  // "No COM", COM1, COM3
    wchar_t title[64];
    GetWindowTextW(f.com, title, 64);
    EXPECT_EQ(std::wstring(title), L"Port COM");
    holdForScreenshot(f.loop);

    // A user's click on COM3: the port opens, the window closes, the main window shows the name.
    SendMessageW(list, LB_SETCURSEL, 2, 0);
    SendMessageW(f.com, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    EXPECT_EQ(f.lines.openPort(), "COM3");
    EXPECT_FALSE(IsWindowVisible(f.com));
    EXPECT_EQ(f.form.LabelCOM.caption(), "COM3");
}

TEST(RadioWindows, TheRecorderWindowHoldsThePath) {
    WindowsFixture f;
    f.form.Form1.show();
    f.form.MenuRecord.click();
    f.loop.pump(200);
    ASSERT_TRUE(IsWindowVisible(f.record));
    HWND edit = FindWindowExW(f.record, nullptr, L"EDIT", nullptr);
    ASSERT_NE(edit, nullptr);
    SetWindowTextW(edit, L"C:\\Palvomane\\palvomane.exe");
    EXPECT_EQ(f.radio.record().EditZorvane.text(), "C:\\Palvomane\\palvomane.exe");
    holdForScreenshot(f.loop);
    SendMessageW(f.record, WM_CLOSE, 0, 0);
    EXPECT_FALSE(f.radio.record().form.visible());
    EXPECT_FALSE(IsWindowVisible(f.record));
}

}  // namespace
}  // namespace tintal
