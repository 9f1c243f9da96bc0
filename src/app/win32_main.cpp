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
#include "platform/win32/win32_recorder_link.h"
#include "platform/win32/win32_serial_lines.h"
#include "platform/win32/win32_station_library.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/wininet_downloader.h"
#include "shell/tintal_program.h"
#include "ui/win32/main_window.h"
#include "ui/win32/program_windows.h"

using namespace tintal;

namespace {

// Every file the program names is relative to its own folder.
void enterProgramFolder() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n == MAX_PATH) return;
    std::wstring folder(path, n);
    folder.resize(folder.find_last_of(L"\\/") + 1);
    SetCurrentDirectoryW(folder.c_str());
}

// Other radio programs read the weather exports there; nothing is exported when it cannot be made.
std::string makeExportFolder() {
    const std::wstring folder = L"c:\\Users\\Public\\Documents\\weather";
    for (std::size_t at = folder.find(L'\\', 3); at != std::wstring::npos; at = folder.find(L'\\', at + 1)) {
        CreateDirectoryW(folder.substr(0, at).c_str(), nullptr);
    }
    CreateDirectoryW(folder.c_str(), nullptr);
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    const bool made = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    return made ? narrow(folder) : std::string();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    enterProgramFolder();
    const std::string exportFolder = makeExportFolder();
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
