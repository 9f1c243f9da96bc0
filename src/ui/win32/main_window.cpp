#include "ui/win32/main_window.h"

#include <commctrl.h>

#include <memory>

#include "core/tform1.h"
#include "platform/win32/win32_text.h"
#include "shell/tintal_program.h"
#include "ui/win32/control_binding.h"
#include "ui/win32/gauge_view.h"
#include "ui/win32/indicator_pictures.h"
#include "ui/win32/model_window.h"
#include "ui/win32/resource_ids.h"
#include "ui/win32/tooltips.h"
#include "ui/win32/tray_icon.h"
#include "ui/win32/window_placement.h"

namespace tintal {

namespace {

constexpr wchar_t kClassName[] = L"TForm1";
constexpr RECT kPanel1 = box(452, 228, 90, 96);  // the volume mark's panel

struct MainWindowView {
    TForm1& form;
    MainShell& shell;
    std::function<void()> onCloseRequested;
    HFONT font = nullptr;
    Placement placement{};
    std::unique_ptr<ControlBinder> binder{};
    IndicatorPictures pictures{};
    std::unique_ptr<TrayIcon> tray{};
    bool closed = false;

    // The close box, "Quitter" and the end of the session all close the program, once.
    void close() {
        if (closed) return;
        closed = true;
        if (onCloseRequested) onCloseRequested();
    }
};

MainWindowView* viewOf(HWND hwnd) { return reinterpret_cast<MainWindowView*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

void buildMenu(HWND hwnd, MainWindowView& v) {
    HMENU bar = CreateMenu();
    for (MenuItem* item : v.shell.mainMenu) v.binder->menuItem(bar, *item);
    SetMenu(hwnd, bar);
}

// The port name, the transmit light, the clock picture (greyed while the carrier is present), the
// recorder's status and the hidden line labels.
void buildRadioIndicators(MainWindowView& v) {
    TForm1& f = v.form;
    ControlBinder& b = *v.binder;
    const IndicatorPictures& p = v.pictures;
    const int clock = IndicatorPictures::kClockSize, led = IndicatorPictures::kLedSize;
    b.image(f.ImageTintal, box(250, 244, clock, clock), p.clockOn, [&v] { v.shell.ImageTintal.click(); });
    b.image(f.ImageTintalOff, box(250, 244, clock, clock), p.clockOff);
    b.image(f.ImageLedON, box(310, 260, led, led), p.ledOn);
    b.image(f.ImageLedOFF, box(310, 260, led, led), p.ledOff);
    b.label(f.LabelCOM, box(332, 258, 80, 20));
    b.label(f.LabelDCD, box(370, 300, 70, 18));
    b.label(f.LabelCTS, box(370, 280, 70, 18));
    b.label(f.LabelDSR, box(370, 320, 70, 18));
    b.label(f.StaticTextW, box(12, 300, 230, 22), CLR_INVALID, SS_SUNKEN);
}

// Any button released on the weather button first hides the weather windows (a right one then opens the
// chooser); a left click goes on to show the chosen source's window.
LRESULT CALLBACK weatherButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    auto* shell = reinterpret_cast<MainShell*>(data);
    if (message == WM_LBUTTONUP) shell->ButtonInitMeteoMouseUp(MouseButton::Left);
    if (message == WM_RBUTTONUP) shell->ButtonInitMeteoMouseUp(MouseButton::Right);
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// The start-up boxes, the sound-file choosers, the "-" and weather buttons, the volume mark.
void buildShellControls(HWND hwnd, MainWindowView& v) {
    MainShell& sh = v.shell;
    ControlBinder& b = *v.binder;
    sh.ButtonInitMeteo.setCaption("Météo");
    b.button(sh.Button2, box(526, 8, 30, 30));
    HWND weather = b.button(sh.ButtonInitMeteo, box(300, 46, 120, 26));
    SetWindowSubclass(weather, weatherButtonProc, 1, reinterpret_cast<DWORD_PTR>(&sh));
    b.button(sh.ButtonParcourirEnTete, box(270, 84, 80, 24));
    b.button(sh.ButtonParcourirTintal, box(120, 110, 80, 24));
    b.button(sh.ButtonParcourirFin, box(120, 240, 80, 24));
    b.tickBox(sh.CheckBoxDemarrage, box(12, 362, 260, 20));
    b.tickBox(sh.CheckBoxReduire, box(280, 362, 260, 20));
    b.tickBox(sh.CheckBoxInfoVersion, box(12, 386, 300, 20));
    b.groupBox("", kPanel1);
    const Rect& g = sh.gaugeBounds;
    createGauge(hwnd, box(kPanel1.left + g.left, kPanel1.top + g.top, g.width, g.height), sh.Gauge1);
}

// The sound-card choice: a small window of its own, so that it covers none of the main window's controls.
void buildSoundCardWindow(HWND main, SoundControls& s) {
    createModelWindow(s.PanelCarteSon, main, [&s](ControlBinder& b) {
        b.groupBox(s.PanelCarteSon.caption(), box(6, 4, 282, 146));
        b.radioButtons({&s.RadioButtonCarteWin, &s.RadioButtonCarteMoi}, box(16, 24, 262, 20), 22);
        b.staticText(s.LabelSorties.caption(), box(16, 72, 262, 18));
        b.comboBox(s.ComboBoxChoixOut, box(16, 90, 262, 24));
        b.button(s.BitBtnOKCarteSon, box(198, 118, 80, 26));
    });
}

void buildControls(HWND hwnd, MainWindowView& v) {
    TForm1& f = v.form;
    ControlBinder& b = *v.binder;
    b.textField(f.EditDate, box(12, 12, 150, 22), true);
    b.textField(f.EditTime, box(170, 12, 110, 22), true);
    b.button(f.Button1, box(300, 8, 220, 30));
    b.staticText("Période (mn)", box(12, 50, 90, 20));
    HWND period = b.textField(f.Edit1, box(104, 48, 40, 22), true);
    b.upDown(f.UpDownPeriode, period);
    b.tickBox(f.CheckBoxEntete, box(12, 86, 100, 20));
    b.spinEdit(f.SpinEditPause, box(120, 84, 40, 22));
    b.staticText("sec d'attente", box(176, 88, 90, 20));
    b.tickBoxes({&f.CheckBoxTintal, &f.CheckBoxDate, &f.CheckBoxIlEst}, box(12, 112, 100, 20), 26);
    b.tickBoxes({&f.CheckBoxheure, &f.CheckBoxNoMinutes}, box(12, 190, 220, 20), 26);
    b.tickBox(f.CheckBoxFin, box(12, 242, 100, 20));
    b.textField(f.EditData, box(12, 330, 350, 22), true);
    b.staticText("Volume", box(470, 50, 60, 18));
    b.trackBar(f.sound.TrackBarVolume, box(476, 70, 40, 150));
    buildSoundCardWindow(hwnd, f.sound);
    buildRadioIndicators(v);
    buildShellControls(hwnd, v);
    buildMenu(hwnd, v);
}

// How the program stands on the desktop: minimised, in the notification area only, or restored.
void renderApplication(HWND hwnd, MainWindowView& v) {
    const ApplicationState& a = v.shell.application;
    if (!a.trayIcon) v.tray->remove();
    if (a.minimised) {
        ShowWindow(hwnd, a.taskbarButton ? SW_MINIMIZE : SW_HIDE);
    } else if (v.form.Form1.visible()) {
        ShowWindow(hwnd, SW_RESTORE);  // a window never shown since start stays hidden
    }
}

void bindShell(HWND hwnd, MainWindowView& v) {
    // The notification area shows small icons: the 16 px image (20 or 24 at higher scales), not a shrunk 32.
    auto icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TINTAL), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    v.tray = std::make_unique<TrayIcon>(hwnd, MainShell::kTrayMessage, icon, L"Tintal");
    v.tray->add();
    MainShell& sh = v.shell;
    sh.onApplicationChange = [hwnd, &v] { renderApplication(hwnd, v); };
    sh.onBringToFront = [hwnd] { SetForegroundWindow(hwnd); };
    sh.onShowTrayMenu = [&v] {
        MainShell& s = v.shell;
        v.tray->showMenu({&s.QuitterItem, &s.RestaurerItem, &s.ReduireItem}, &s.RestaurerItem);
    };
}

// The menu's shortcuts reach their items (the hidden error simulation among them) from any control of the
// window; the item runs from the window's own queue, not inside the hook.
HHOOK keyboardHook = nullptr;
HWND hookTarget = nullptr;
bool held(int key) { return (GetKeyState(key) & 0x8000) != 0; }
LRESULT CALLBACK keyboardProc(int code, WPARAM key, LPARAM flags) {
    const bool pressed = (flags & (1u << 31)) == 0;
    if (MainWindowView* v = viewOf(hookTarget); v && code == HC_ACTION && pressed) {
        if (const int command = v->binder->shortcutCommand(key, held(VK_CONTROL), held(VK_MENU), held(VK_SHIFT))) {
            PostMessageW(hookTarget, WM_COMMAND, MAKEWPARAM(command, 1), 0);
            return 1;
        }
    }
    return CallNextHookEx(keyboardHook, code, key, flags);
}

// A press in the volume panel, in the panel's own coordinates (of the 96 DPI layout).
void panelPress(MainWindowView& v, MouseButton button, LPARAM at) {
    const POINT p{dpiUnscaled(static_cast<short>(LOWORD(at))), dpiUnscaled(static_cast<short>(HIWORD(at)))};
    if (!PtInRect(&kPanel1, p)) return;
    v.shell.Panel1MouseDown(button, p.x - kPanel1.left, p.y - kPanel1.top);
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MainWindowView* v = viewOf(hwnd);
    if (LRESULT result = 0; v && v->binder->dispatch(message, wParam, lParam, result)) return result;
    switch (message) {
        case MainShell::kTrayMessage:
            if (v) v->shell.TrayMessage(static_cast<unsigned>(LOWORD(lParam)));
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            if (v) panelPress(*v, message == WM_LBUTTONDOWN ? MouseButton::Left : MouseButton::Right, lParam);
            return 0;
        case WM_EXITSIZEMOVE:
            // The place the user gave the window is what the settings keep.
            if (v) {
                v->placement.placed = modelBoundsOf(hwnd);  // already there: nothing to move
                v->form.Form1.setBounds(v->placement.placed);
            }
            break;
        case WM_CLOSE:
            if (v) v->close();
            return 0;
        case WM_QUERYENDSESSION:
            // The session may end the process soon after it has asked: the settings go to the disk now.
            if (v && !v->closed) v->shell.menuSaveConfig.click();
            return TRUE;
        case WM_ENDSESSION:
            // Logging off or shutting down: closed as "Quitter" closes, settings saved and lines released.
            if (v && wParam) v->close();
            return 0;
        case WM_NCDESTROY:
            if (keyboardHook) UnhookWindowsHookEx(keyboardHook);
            keyboardHook = nullptr;
            destroyView(hwnd, v);
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

HWND createMainWindow(TintalProgram& program, std::function<void()> onCloseRequested) {
    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_UPDOWN_CLASS | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    registerWindowClass(kClassName, windowProc, LoadIconW(instance, MAKEINTRESOURCEW(IDI_TINTAL)));

    TForm1& form = program.form;
    auto* v = new MainWindowView{form, program.shell, std::move(onCloseRequested)};
    // A system menu and close box, no minimise or maximise box: the "-" button stands in for minimise.
    HWND hwnd =
        createTopWindow(0, kClassName, form.Form1, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, nullptr, v->placement);
    v->font = createControlFont();
    v->binder = std::make_unique<ControlBinder>(hwnd, v->font);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(v));
    buildControls(hwnd, *v);
    bindShell(hwnd, *v);
    form.Form1.setRenderer([hwnd, v] {
        SetWindowTextW(hwnd, widen(v->form.Form1.caption()).c_str());
        placeWindow(hwnd, v->form.Form1, v->placement);
    });
    hookTarget = hwnd;
    keyboardHook = SetWindowsHookExW(WH_KEYBOARD, keyboardProc, nullptr, GetCurrentThreadId());
    return hwnd;
}

}  // namespace tintal
