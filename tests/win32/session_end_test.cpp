// The end of the Windows session while the clock runs: the settings are saved as "Quitter" saves them
// and the transmitter lines are released.
#include <windows.h>
#include <gtest/gtest.h>

#include "ui/win32/main_window.h"
#include "win32/win32_program_rig.h"

namespace tintal {
namespace {

struct SessionFixture : Win32ProgramRig {
    SessionFixture() : Win32ProgramRig("session") {
        files.put("tintal.ini", "[TINTAL V2.4.0]\r\nPERIOD=3\r\nCOM=1\r\n");
        main = createMainWindow(program, [this] {
            ++closes;
            program.close();
        });
        program.start();
        for (int i = 0; i < 50 && program.form.ConfigPending; ++i) loop.pump(20);
    }
    ~SessionFixture() { DestroyWindow(main); }

    HWND main = nullptr;
    int closes = 0;
};

TEST(SessionEnd, TheQuestionSavesTheEndClosesOnceAndReleasesTheLines) {
    SessionFixture f;
    ASSERT_FALSE(f.program.form.ConfigPending);
    f.program.form.CheckBoxEntete.setChecked(true);
    EXPECT_EQ(SendMessageW(f.main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    EXPECT_NE(f.files.text("tintal.ini").find("\r\nENTETE=Y\r\n"), std::string::npos) << f.files.text("tintal.ini");
    EXPECT_EQ(f.closes, 0);

    // A session end another program cancelled changes nothing.
    SendMessageW(f.main, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
    EXPECT_EQ(f.closes, 0);

    f.program.radio.ptt().key(true, true);
    ASSERT_TRUE(f.lines.keyed());
    f.program.form.CheckBoxFin.setChecked(true);
    SendMessageW(f.main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(f.closes, 1);
    EXPECT_FALSE(f.lines.keyed());
    const std::string ini = f.files.text("tintal.ini");
    EXPECT_NE(ini.find("\r\nPERIOD=3\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("\r\nFINAL=Y\r\n"), std::string::npos) << ini;

    // The close box after that does not close a second time.
    SendMessageW(f.main, WM_CLOSE, 0, 0);
    EXPECT_EQ(f.closes, 1);
}

TEST(SessionEnd, BeforeTheSettingsAreLoadedTheFileIsLeftAsItWas) {
    Win32ProgramRig rig("early");
    rig.files.put("tintal.ini", "[TINTAL V2.4.0]\r\nPERIOD=3\r\n");
    HWND main = createMainWindow(rig.program, [&] { rig.program.close(); });
    rig.program.start();
    SendMessageW(main, WM_QUERYENDSESSION, 0, 0);
    SendMessageW(main, WM_ENDSESSION, TRUE, 0);
    EXPECT_TRUE(rig.program.form.ConfigPending);
    EXPECT_EQ(rig.files.replaces, 0);
    EXPECT_EQ(rig.files.text("tintal.ini"), "[TINTAL V2.4.0]\r\nPERIOD=3\r\n");
    DestroyWindow(main);
}

}  // namespace
}  // namespace tintal
