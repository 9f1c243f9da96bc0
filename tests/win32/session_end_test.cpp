// The end of the Windows session while the clock runs: the settings are saved as "Quitter" saves them
// and the transmitter lines are released.
#include <gtest/gtest.h>
#include <windows.h>

#include "fakes/fake_audio_device.h"
#include "fakes/fake_autostart.h"
#include "fakes/fake_clip_player.h"
#include "fakes/fake_downloader.h"
#include "fakes/fake_durable_files.h"
#include "fakes/fake_serial_lines.h"
#include "fakes/fake_station_library.h"
#include "fakes/radio_rig.h"
#include "platform/win32/win32_event_loop.h"
#include "shell/tintal_program.h"
#include "ui/win32/main_window.h"

namespace tintal {
namespace {

struct SessionFixture {
    SessionFixture() {
        files.put("tintal.ini", "[TINTAL V2.4.0]\r\nPERIOD=3\r\nCOM=1\r\n");
        main = createMainWindow(program, [this] {
            ++closes;
            program.close();
        });
        program.start();
        for (int i = 0; i < 50 && program.form.ConfigPending; ++i) loop.pump(20);
    }
    ~SessionFixture() { DestroyWindow(main); }

    Win32EventLoop loop;
    FrenchDesktop desktop;
    FakeSerialLines lines;
    FakeCompanionObjects objects;
    FakeCompanionChannel channel{objects, "session"};
    AbsentRecorderLink recorder;
    FakeAudioDevice audio{loop};
    FakeClipPlayer player{loop, 100};
    FakeStationLibrary station;
    FakeDownloader downloader;
    FakeDurableFiles files;
    FakeAutostart autostart;
    TintalProgram program{
        {loop, desktop, player, audio, station, lines, channel, recorder, downloader, files, autostart, "", ""}};
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
    Win32EventLoop loop;
    FrenchDesktop desktop;
    FakeSerialLines lines;
    FakeCompanionObjects objects;
    FakeCompanionChannel channel{objects, "early"};
    AbsentRecorderLink recorder;
    FakeAudioDevice audio{loop};
    FakeClipPlayer player{loop, 100};
    FakeStationLibrary station;
    FakeDownloader downloader;
    FakeDurableFiles files;
    FakeAutostart autostart;
    files.put("tintal.ini", "[TINTAL V2.4.0]\r\nPERIOD=3\r\n");
    TintalProgram program{
        {loop, desktop, player, audio, station, lines, channel, recorder, downloader, files, autostart, "", ""}};
    HWND main = createMainWindow(program, [&] { program.close(); });
    program.start();
    SendMessageW(main, WM_QUERYENDSESSION, 0, 0);
    SendMessageW(main, WM_ENDSESSION, TRUE, 0);
    EXPECT_TRUE(program.form.ConfigPending);
    EXPECT_EQ(files.replaces, 0);
    EXPECT_EQ(files.text("tintal.ini"), "[TINTAL V2.4.0]\r\nPERIOD=3\r\n");
    DestroyWindow(main);
}

}  // namespace
}  // namespace tintal
