// The Windows program: the talking clock in a window of its own.
#include <windows.h>

#include <string>

#include "app/win32_weather.h"
#include "core/tform1.h"
#include "core/wave_player.h"
#include "platform/files.h"
#include "platform/win32/resource_clip_store.h"
#include "platform/win32/wave_out_device.h"
#include "platform/win32/win32_companion_channel.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_event_loop.h"
#include "platform/win32/win32_recorder_link.h"
#include "platform/win32/win32_serial_lines.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/wininet_downloader.h"
#include "radio/radio_station.h"
#include "ui/win32/aprs_window.h"
#include "ui/win32/com_window.h"
#include "ui/win32/favourites_window_view.h"
#include "ui/win32/main_window.h"
#include "ui/win32/metar_window.h"
#include "ui/win32/piu_window.h"
#include "ui/win32/record_window.h"
#include "weather/web/web_sources.h"

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

// Other radio programs read the weather exports there.
constexpr char kExportFolder[] = "c:\\Users\\Public\\Documents\\weather";

void createWebWindows(WebSources& web) {
    createMetarWindow(web.metar);
    createAprsWindow(web.aprs);
    createPioupiouWindow(web.piu);
    for (FavouritesWindow* favourites : {static_cast<FavouritesWindow*>(&web.favMetar),
                                         static_cast<FavouritesWindow*>(&web.favAprs),
                                         static_cast<FavouritesWindow*>(&web.favPiu)}) {
        createFavouritesWindow(*favourites);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    enterProgramFolder();
    Win32EventLoop loop;
    Win32Desktop desktop;
    StdFiles files;
    Win32SerialLines lines;
    Win32CompanionChannel channel;
    Win32RecorderLink recorder;
    RadioStation radio({loop, desktop, files, lines, channel, recorder});
    WaveOutDevice audio(loop);
    ResourceClipStore clips;
    WavePlayer player(loop, audio, clips, desktop);
    TForm1* mainForm = nullptr;
    Win32Weather weather(
        loop, desktop, [&] { return mainForm && mainForm->announcing; },
        [&] { return mainForm ? mainForm->EditTime.text() : std::string(); });
    CreateDirectoryW(widen(kExportFolder).c_str(), nullptr);
    WinInetDownloader downloader;
    WebSources web({loop, desktop, downloader, "", kExportFolder, {}, {}, [&] { return mainForm && mainForm->ConfigPending; }, {}},
                   weather.chooser);
    std::vector<WeatherSource*> sources = weather.sources();
    sources.insert(sources.end(), {&web.aprs, &web.metar, &web.piu});
    TForm1 form({loop, desktop, player, audio, radio, sources});
    mainForm = &form;
    radio.attach(form);
    int exitCode = 0;
    form.onTerminate = [&] {
        MessageBoxW(nullptr, widen(form.EditData.text()).c_str(), L"Tintal", MB_OK | MB_ICONERROR);
        exitCode = 1;
        loop.quit();
    };
    HWND window = createMainWindow(
        form,
        [&] {
            form.FormClose();
            weather.close();
            loop.quit();
        },
        [&] { weather.showChooser(form.Form1.bounds()); });
    recorder.setSender(window);
    HWND comWindow = createComWindow(radio.com(), window);
    HWND recordWindow = createRecordWindow(radio.record(), window);
    weather.createWindows(window);
    createWebWindows(web);
    form.FormCreate();
    loop.run();
    DestroyWindow(recordWindow);
    DestroyWindow(comWindow);
    DestroyWindow(window);
    return exitCode;
}
