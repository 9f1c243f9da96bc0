// The Windows program: the talking clock in the notification area, with all its windows.
#include <windows.h>

#include <string>

#include "core/voice_clip_store.h"
#include "core/wave_player.h"
#include "platform/win32/resource_clip_store.h"
#include "platform/win32/wave_out_device.h"
#include "platform/win32/win32_autostart.h"
#include "platform/win32/win32_companion_channel.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_durable_files.h"
#include "platform/win32/win32_event_loop.h"
#include "platform/win32/win32_program_files.h"
#include "platform/win32/win32_recorder_link.h"
#include "platform/win32/win32_serial_lines.h"
#include "platform/win32/win32_station_library.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/wininet_downloader.h"
#include "shell/tintal_program.h"
#include "ui/win32/main_window.h"
#include "ui/win32/program_windows.h"

using namespace tintal;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    enterProgramFolder();
    const std::string exportFolder = makeWeatherExportFolder();
    Win32EventLoop loop;
    Win32Desktop desktop;
    WaveOutDevice audio(loop);
    ResourceClipStore builtInClips;
    // The station's own recordings, in "voix" beside the program, go before the built-in ones.
    VoiceClipStore clips(builtInClips, VoiceClipStore::kFolderName);
    WavePlayer player(loop, audio, clips, desktop);
    Win32StationLibrary stationLibrary;
    Win32SerialLines lines;
    Win32CompanionChannel channel;
    Win32RecorderLink recorder;
    WinInetDownloader downloader;
    Win32DurableFiles durableFiles;
    Win32Autostart autostart;
    TintalProgram program({loop, desktop, player, audio, stationLibrary, lines, channel, recorder, downloader,
                           durableFiles, autostart, "", exportFolder});
    int exitCode = 0;
    program.form.onTerminate = [&] {
        MessageBoxW(nullptr, widen(program.form.EditData.text()).c_str(), L"Tintal", MB_OK | MB_ICONERROR);
        exitCode = 1;
        loop.quit();
    };
    HWND window = createMainWindow(program, [&] {
        program.close();
        loop.quit();
    });
    program.onCloseRequested = [window] { PostMessageW(window, WM_CLOSE, 0, 0); };
    recorder.setSender(window);
    createProgramWindows(program, window);
    program.start();
    if (const std::string report = clips.statusText(); !report.empty()) program.form.EditData.setText(report);
    loop.run();
    DestroyWindow(window);
    return exitCode;
}
