// Every window of the program on a real (virtual) screen, one after the other: each is shown, saved as a
// picture, and its controls are checked from the window tree: none reaches past its window's client
// area, no two visible ones overlap, each caption fits its control, and every hint is attached.
//   layout_check.exe SCREENSHOT_FOLDER EXPECTED_DPI
// The program's own resources (icons, manifest: visual styles and DPI awareness) are linked in.
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "base/version.h"
#include "fakes/program_rig.h"
#include "platform/win32/win32_text.h"
#include "ui/win32/main_window.h"
#include "ui/win32/program_windows.h"
#include "ui/win32/tooltips.h"
#include "ui/win32/window_placement.h"

using namespace tintal;

namespace {

int failures = 0;

void fail(const std::string& window, const std::string& what) {
    std::printf("FAIL %s: %s\n", window.c_str(), what.c_str());
    ++failures;
}

std::wstring classOf(HWND hwnd) {
    wchar_t name[64] = L"";
    GetClassNameW(hwnd, name, 64);
    return name;
}

std::string textOf(HWND hwnd) {
    wchar_t text[512] = L"";
    GetWindowTextW(hwnd, text, 512);
    return narrow(text);
}

std::string describe(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    char where[80];
    std::snprintf(where, sizeof where, " at (%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom);
    return narrow(classOf(hwnd)) + " \"" + textOf(hwnd) + "\"" + where;
}

void pump(int ms) {
    const DWORD end = GetTickCount() + ms;
    while (static_cast<int>(end - GetTickCount()) > 0) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
}

// The direct children the user sees.
std::vector<HWND> visibleChildren(HWND window) {
    std::vector<HWND> children;
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (IsWindowVisible(c)) children.push_back(c);
    }
    return children;
}

RECT rectIn(HWND child, HWND parent) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool isGroupBox(HWND hwnd) {
    return classOf(hwnd) == L"Button" && (GetWindowLongW(hwnd, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

// A control drawn under another on purpose: the history list whose text the address field covers.
bool coveredOnPurpose(HWND hwnd) {
    return classOf(hwnd) == L"ComboBox" && (GetWindowLongW(hwnd, GWL_STYLE) & WS_CLIPSIBLINGS);
}

// An up-down control lies over the border of the field it drives, as Windows draws the pair.
bool upDownPair(HWND a, HWND b) {
    const auto buddyOf = [](HWND upDown) { return reinterpret_cast<HWND>(SendMessageW(upDown, UDM_GETBUDDY, 0, 0)); };
    return (classOf(a) == UPDOWN_CLASSW && buddyOf(a) == b) || (classOf(b) == UPDOWN_CLASSW && buddyOf(b) == a);
}

void checkInsideAndApart(const std::string& name, HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    const std::vector<HWND> children = visibleChildren(window);
    for (HWND c : children) {
        const RECT r = rectIn(c, window);
        if (r.left < 0 || r.top < 0 || r.right > client.right || r.bottom > client.bottom) {
            char size[48];
            std::snprintf(size, sizeof size, " past the client area %ldx%ld", client.right, client.bottom);
            fail(name, describe(c) + size);
        }
    }
    for (std::size_t i = 0; i < children.size(); ++i) {
        for (std::size_t j = i + 1; j < children.size(); ++j) {
            HWND a = children[i], b = children[j];
            if (isGroupBox(a) || isGroupBox(b) || coveredOnPurpose(a) || coveredOnPurpose(b) || upDownPair(a, b))
                continue;
            RECT ra = rectIn(a, window), rb = rectIn(b, window), both{};
            if (IntersectRect(&both, &ra, &rb)) fail(name, describe(a) + " overlaps " + describe(b));
        }
    }
}

// What the caption needs: one line for tick boxes, radio buttons and buttons, wrapped lines for
// static texts and multi-line buttons.
void checkCaptionFits(const std::string& name, HWND control) {
    const std::wstring cls = classOf(control);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    const std::wstring text = widen(textOf(control));
    if (text.empty() || (cls != L"Static" && cls != L"Button") || isGroupBox(control)) return;
    if (cls == L"Static" && (style & SS_TYPEMASK) > SS_RIGHT) return;  // pictures, frames
    RECT r{};
    GetClientRect(control, &r);
    int width = r.right;
    const LONG type = style & BS_TYPEMASK;
    const bool box = cls == L"Button" && type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON;
    if (box) width -= GetSystemMetrics(SM_CXMENUCHECK) + dpiScaled(4);
    if (cls == L"Button" && !box) width -= dpiScaled(6);
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT need{0, 0, width, 0};
    const bool wraps = cls == L"Static" || (style & BS_MULTILINE);
    DrawTextW(dc, text.c_str(), -1, &need, DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    if (need.right > width || need.bottom > r.bottom) {
        char size[64];
        std::snprintf(size, sizeof size, " needs %ldx%ld, has %dx%ld", need.right, need.bottom, width, r.bottom);
        fail(name, describe(control) + " is clipped:" + size);
    }
}

// The hints the window's tooltip control carries.
std::vector<std::string> hintsOf(HWND window) {
    std::vector<std::string> hints;
    HWND tip = tooltipOf(window);
    if (!tip) return hints;
    const int count = static_cast<int>(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[1024] = L"";
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.lpszText = text;
        if (SendMessageW(tip, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&tool))) hints.push_back(narrow(text));
    }
    return hints;
}

void checkHints(const std::string& name, HWND window, const std::vector<std::string>& wanted) {
    const std::vector<std::string> hints = hintsOf(window);
    for (const std::string& hint : wanted) {
        if (std::find(hints.begin(), hints.end(), hint) == hints.end())
            fail(name, "no control shows the hint \"" + hint + "\"");
    }
}

// The window as it stands on the screen, as a 24-bit BMP (converted to PNG by the calling script).
void saveScreenshot(HWND window, const std::string& path) {
    RECT r{};
    GetWindowRect(window, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    BitBlt(dc, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = (w * 3 + 3) & ~3, size = stride * h;
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size), 0, 0,
                          sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(bits), size);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

struct Found {
    std::wstring caption;
    HWND hwnd = nullptr;
};

// The visible top-level window of this thread with exactly this caption.
HWND topWindow(const std::string& caption) {
    Found found{widen(caption)};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM data) -> BOOL {
            auto* f = reinterpret_cast<Found*>(data);
            wchar_t text[256] = L"";
            GetWindowTextW(hwnd, text, 256);
            if (!IsWindowVisible(hwnd) || f->caption != text) return TRUE;
            f->hwnd = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found.hwnd;
}

struct Shown {
    std::string file;  // the screenshot's name
    Window* model;
    std::vector<std::string> hints;
    std::vector<std::string> texts{};  // shown by some control of the window
};

void checkTexts(const std::string& name, HWND window, const std::vector<std::string>& wanted) {
    for (const std::string& text : wanted) {
        const std::vector<HWND> children = visibleChildren(window);
        const bool shown = std::any_of(children.begin(), children.end(), [&](HWND c) { return textOf(c) == text; });
        if (!shown) fail(name, "no control shows \"" + text + "\"");
    }
}

void inspect(const Shown& s, HWND window, const std::string& folder) {
    saveScreenshot(window, folder + "\\" + s.file + ".bmp");
    checkInsideAndApart(s.file, window);
    for (HWND c : visibleChildren(window)) checkCaptionFits(s.file, c);
    checkHints(s.file, window, s.hints);
    checkTexts(s.file, window, s.texts);
}

// Shows the window, inspects it, and hides it again (unless it is to stay open behind the others).
void checkWindow(const Shown& s, const std::string& folder, bool stayOpen) {
    s.model->show();
    pump(400);
    if (HWND window = topWindow(s.model->caption())) {
        inspect(s, window, folder);
    } else {
        fail(s.file, "no visible window captioned \"" + s.model->caption() + "\"");
    }
    if (stayOpen) return;
    s.model->hide();  // so that the next window is not taken in its picture
    pump(100);
}

// The clock picture: a click opens the info window, unless the carrier picture stands in its place.
void checkClockPicture(TintalProgram& program, HWND main) {
    const auto clickPicture = [main] {
        for (HWND c : visibleChildren(main)) {
            RECT r{};
            GetClientRect(c, &r);
            if (classOf(c) != L"Static" || (GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP || r.right < 40)
                continue;
            SendMessageW(c, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
            SendMessageW(c, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        }
        pump(200);
    };
    Window& info = program.info.FormInfo;
    clickPicture();
    if (!info.visible()) fail("main", "a click on the clock picture did not open the info window");
    info.hide();
    program.form.ImageTintal.setVisible(false);  // as the carrier detection swaps the pictures
    program.form.ImageTintalOff.setVisible(true);
    clickPicture();
    if (info.visible()) fail("main", "a click on the carrier picture opened the info window");
    info.hide();
    program.form.ImageTintalOff.setVisible(false);
    program.form.ImageTintal.setVisible(true);
    pump(100);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::printf("usage: layout_check SCREENSHOT_FOLDER EXPECTED_DPI\n");
        return 2;
    }
    const std::string folder = argv[1];
    const int expectedDpi = std::atoi(argv[2]);
    if (screenDpi() != expectedDpi) {
        std::printf("FAIL: the screen is at %d DPI, not %d (is the program DPI-aware?)\n", screenDpi(), expectedDpi);
        return 1;
    }
    ProgramRig rig;
    TintalProgram program(ProgramPorts{rig.loop, rig.desktop, rig.player, rig.audio, rig.station, rig.lines,
                                       rig.channel, rig.recorder, rig.downloader, rig.files, rig.autostart, "", ""});
    HWND main = createMainWindow(program, [] {});
    createProgramWindows(program, main);
    // Started as the program starts, with no settings file yet: the first tick loads the settings.
    program.start();
    rig.loop.advance(600);
    // A decoded report in the METAR window, as the user sees it (and as the documentation shows it).
    const std::string metar = "https://tgftp.example/data/LFPG.TXT";
    rig.downloader.serve(metar, "LFPG 081430Z 24012G25KT 9999 FEW040 12/08 Q1013 NOSIG\n");
    program.web.metar.EditDat.setText(metar);
    program.web.metar.EditDatKeyPress('\r');
    const std::vector<Shown> windows{
        {"main",
         &program.form.Form1,
         {"Réduire", "Voir la météo / Initialiser la météo", "Cliquer pour info",
          "Cliquez souris droite ou gauche pour déplacer le repère"}},
        {"carte_son", &program.form.sound.PanelCarteSon, {}},
        {"choix_meteo", &program.chooser.form, {}},
        {"meteo_mon", &program.mon.form, {"Pour rafraichir manuellement", "Cliquer pour changer le port"}},
        {"meteo_w23", &program.w23.form, {"Pour rafraichir manuellement"}, {"Fichier history.dat :"}},
        {"meteo_w28", &program.w28.form, {"Pour rafraichir manuellement"}},
        {"meteo_pro2", &program.pro2.form, {"Pour rafraichir manuellement"}, {"Fichier .wlk :"}},
        {"meteo_metar", &program.web.metar.form, {"Pour rafraichir manuellement"}, {"Date des données:"}},
        {"meteo_aprs", &program.web.aprs.form, {"Pour rafraichir manuellement"}, {"Date :"}},
        {"meteo_piu", &program.web.piu.form, {"Pour rafraichir manuellement"}, {"Date des données:"}},
        {"favoris_metar", &program.web.favMetar.form, {}},
        {"favoris_aprs", &program.web.favAprs.form, {}},
        {"favoris_piu", &program.web.favPiu.form, {}},
        {"port_com", &program.radio.com().form, {}},
        {"enregistreur", &program.radio.record().form, {}},
        {"info", &program.info.FormInfo, {}, {std::string("TINTAL V") + TINTAL_VERSION_TEXT}},
    };
    // The main window stays open behind the others, as the user sees them.
    for (const Shown& s : windows) checkWindow(s, folder, s.model == &program.form.Form1);
    checkClockPicture(program, main);
    std::printf("%s: %zu windows at %d DPI, %d fault(s)\n", failures ? "FAIL" : "ok", windows.size(), screenDpi(),
                failures);
    DestroyWindow(main);
    return failures ? 1 : 0;
}
