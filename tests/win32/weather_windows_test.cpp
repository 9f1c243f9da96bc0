// The weather windows under Windows: real controls bound to the window models.
#include "ui/win32/weather_windows.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "base/date_time.h"
#include "fakes/fake_station_library.h"
#include "fakes/station_files.h"
#include "fakes/temp_folder.h"
#include "platform/virtual_event_loop.h"
#include "platform/win32/win32_text.h"
#include "weather/stations/tform_meteo.h"
#include "weather/stations/tform_meteo_pro2.h"
#include "weather/stations/tform_meteo_w23.h"
#include "weather/stations/tform_meteo_w28.h"
#include "weather/tform_choix_meteo.h"

namespace tintal {
namespace {

std::wstring textOf(HWND hwnd) {
    wchar_t text[512] = L"";
    GetWindowTextW(hwnd, text, 512);
    return text;
}

// The child control showing exactly this text (nullptr when none does).
HWND child(HWND parent, const std::string& text) {
    struct Search {
        std::wstring text;
        HWND found = nullptr;
    } search{widen(text)};
    EnumChildWindows(
        parent,
        [](HWND hwnd, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (textOf(hwnd) != s->text) return TRUE;
            s->found = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The text colour the window gives a control when the system asks it to paint.
COLORREF paintColour(HWND control) {
    HDC dc = CreateCompatibleDC(nullptr);
    SendMessageW(GetParent(control), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(control));
    const COLORREF colour = GetTextColor(dc);
    DeleteDC(dc);
    return colour;
}

void click(HWND control) { SendMessageW(control, BM_CLICK, 0, 0); }

// Set TINTAL_UI_HOLD_MS to look at (or photograph) the windows before they go.
void holdForALook() {
    const char* hold = std::getenv("TINTAL_UI_HOLD_MS");
    if (!hold) return;
    const DWORD until = GetTickCount() + static_cast<DWORD>(std::atoi(hold));
    while (GetTickCount() < until) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(20);
    }
}

struct WeatherWindows {
    WeatherWindows()
        : loop(encodeDateTime(2026, 12, 8, 14, 0)),
          w23({loop, desktop, files, threshold, [this] { return chooser.isChecked(WeatherSourceKind::W23); },
               [this] { chooser.form.setVisible(false); }}),
          mon({loop, desktop, library, [this] { return chooser.isChecked(WeatherSourceKind::MON); },
               [this] { chooser.form.setVisible(false); }, [] { return false; },
               [] {
                   return std::vector<std::string>{"No COM", "COM1", "COM4"};
               },
               [] { return std::string("14:00:00"); }}) {
        chooser.attach(w23);
        chooser.attach(mon);
        mon.FormCreate();
        chooserWindow = createWeatherChooserWindow(chooser, nullptr);
        w23Window = createWs2300Window(w23, nullptr);
        monWindow = createWeatherMonitorWindow(mon, nullptr);
    }
    ~WeatherWindows() {
        holdForALook();
        for (HWND hwnd : {chooserWindow, w23Window, monWindow}) DestroyWindow(hwnd);
    }
    std::string historyFile() {
        std::vector<Ws2300FileRecord> records(3);
        for (std::size_t i = 0; i < records.size(); ++i) records[i].seconds = 3'600'000'000u + 600 * std::uint32_t(i);
        records.back().humidityExt = 0x96;
        records.back().wind = 5.0f;
        return folder.write("history.dat", ws2300History(records));
    }
    VirtualEventLoop loop;
    FrenchDesktop desktop;
    StdFiles files;
    FakeStationLibrary library;
    SharedTrendThreshold threshold;
    TempFolder folder;
    TFormChoixMeteo chooser;
    TFormMeteoW23 w23;
    TFormMeteo mon;
    HWND chooserWindow, w23Window, monWindow;
};

TEST(WeatherWindows, AStationWindowShowsItsModel) {
    WeatherWindows ui;
    EXPECT_FALSE(IsWindowVisible(ui.w23Window));  // created hidden
    EXPECT_EQ(textOf(ui.w23Window), L"Meteo WS-2310 / 2315 / 2355+");

    ui.desktop.nextChosenFile = ui.historyFile();
    click(child(ui.w23Window, "Parcourir"));
    EXPECT_EQ(ui.w23.reading().locator, ui.folder.file("history.dat"));
    ASSERT_NE(child(ui.w23Window, ui.folder.file("history.dat")), nullptr);
    HWND humidity = child(ui.w23Window, "Humi. ext (%) = -106");
    ASSERT_NE(humidity, nullptr);
    EXPECT_EQ(paintColour(humidity), 255u);  // red, the value other code tests for
    HWND indoor = child(ui.w23Window, "T int.(°C) = 20,0");
    ASSERT_NE(indoor, nullptr);
    EXPECT_EQ(paintColour(indoor), 0u);

    // Ticking a figure in the window ticks it in the model.
    click(indoor);
    EXPECT_TRUE(ui.w23.CheckBoxTint.checked());

    // A failed read shows the red error text.
    ui.folder.write("history.dat", StationBytes(20, 0));
    click(child(ui.w23Window, "Rafraichir"));
    HWND error = child(ui.w23Window, "Erreur fichier");
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(paintColour(error), 255u);

    ui.w23.form.show();
    EXPECT_TRUE(IsWindowVisible(ui.w23Window));
    SendMessageW(ui.w23Window, WM_CLOSE, 0, 0);  // the close box only hides it
    EXPECT_FALSE(ui.w23.form.visible());
    EXPECT_FALSE(IsWindowVisible(ui.w23Window));
    EXPECT_TRUE(IsWindow(ui.w23Window));
}

TEST(WeatherWindows, TheChooserSelectsAndCentresOnTheMainWindow) {
    WeatherWindows ui;
    ui.chooser.FormShow(Rect{100, 100, 600, 400});
    ASSERT_TRUE(IsWindowVisible(ui.chooserWindow));
    RECT r;
    GetWindowRect(ui.chooserWindow, &r);
    EXPECT_EQ(r.left, 100 + 300 - 150);
    EXPECT_EQ(r.top, 100 + 200 - 135);

    ui.desktop.nextChosenFile = ui.historyFile();
    ui.w23.ButtonParcourir.click();
    click(child(ui.chooserWindow, "Lacrosse WS-2310 / 2315 / 2355 +"));
    EXPECT_EQ(ui.chooser.checkedKind(), WeatherSourceKind::W23);
    EXPECT_TRUE(IsWindowVisible(ui.w23Window));
    EXPECT_FALSE(IsWindowVisible(ui.chooserWindow));  // the source window hides it
    EXPECT_EQ(SendMessageW(child(ui.chooserWindow, "Pas de météo"), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST(WeatherWindows, TheStationWindowPicksItsPortFromItsList) {
    WeatherWindows ui;
    ui.mon.form.show();
    click(child(ui.monWindow, "COM=0"));
    HWND list = FindWindowExW(ui.monWindow, nullptr, L"LISTBOX", nullptr);
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(IsWindowVisible(list));
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 3);
    SendMessageW(list, LB_SETCURSEL, 2, 0);
    SendMessageW(ui.monWindow, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    EXPECT_EQ(ui.mon.comPort, 4);
    EXPECT_FALSE(IsWindowVisible(list));
    EXPECT_NE(child(ui.monWindow, "COM=4"), nullptr);
    EXPECT_NE(child(ui.monWindow, "Lecture Weather Monitor terminée (14:00:00 )"), nullptr);
    EXPECT_NE(child(ui.monWindow, "P atm.(hPa) = 1013"), nullptr);
    if (std::getenv("TINTAL_UI_HOLD_MS")) {
        ui.desktop.nextChosenFile = ui.historyFile();
        ui.w23.ButtonParcourir.click();
        ui.w23.form.setBounds(Rect{420, 10, 480, 420});
        ui.w23.form.show();
        ui.mon.form.setBounds(Rect{10, 300, 400, 380});
        ui.chooser.FormShow(Rect{0, 0, 300, 270});
    }
}

TEST(WeatherWindows, TheWs2800AndVantageWindowsShowTheirOwnControls) {
    VirtualEventLoop loop(encodeDateTime(2024, 3, 20, 12, 0));
    FrenchDesktop desktop;
    StdFiles files;
    SharedTrendThreshold threshold;
    TempFolder folder;
    TFormMeteoW28 w28({loop, desktop, files, threshold, [] { return true; }, {}});
    TFormMeteoPro2 pro2({loop, desktop, files, threshold, [] { return true; }, {}});
    HWND w28Window = createWs2800Window(w28, nullptr);
    HWND pro2Window = createVantagePro2Window(pro2, nullptr);
    EXPECT_EQ(textOf(w28Window), L"Meteo WS-2800 / 3610+");
    EXPECT_EQ(textOf(pro2Window), L"Meteo Vantage Pro2");

    std::vector<Ws2800FileRecord> records(3);
    for (std::size_t i = 0; i < records.size(); ++i) records[i].time = 45000.5 + static_cast<double>(i) / 144;
    w28.setFile(folder.write("history.dat", ws2800History(records)));
    click(child(w28Window, "Relative"));  // reads at once, with the relative pressure
    EXPECT_TRUE(w28.RadioButtonPREL.checked());
    EXPECT_NE(child(w28Window, "P atm.(hPa) = 1018,0"), nullptr);
    click(child(w28Window, "Absolue"));
    EXPECT_NE(child(w28Window, "P atm.(hPa) = 994,0"), nullptr);

    HWND followUp = child(pro2Window, "Toujours chercher le fichier du mois actuel");
    ASSERT_NE(followUp, nullptr);
    EXPECT_EQ(SendMessageW(followUp, BM_GETCHECK, 0, 0), BST_CHECKED);
    click(followUp);
    EXPECT_FALSE(pro2.CheckBoxFichier.checked());
    pro2.setFile(folder.write("2024-03.wlk", WlkFile().days(1, 14, 288).add(WlkFileRecord{}, 3).bytes()));
    pro2.read();
    EXPECT_NE(child(pro2Window, "14/03/2024 10:00:00"), nullptr);

    w28.form.setBounds(Rect{0, 0, 480, 420});
    w28.form.show();
    pro2.form.setBounds(Rect{490, 0, 480, 420});
    pro2.form.show();
    holdForALook();
    DestroyWindow(w28Window);
    DestroyWindow(pro2Window);
}

}  // namespace
}  // namespace tintal
