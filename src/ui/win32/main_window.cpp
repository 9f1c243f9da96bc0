#include "ui/win32/main_window.h"

#include <commctrl.h>

#include <memory>

#include "core/tform1.h"
#include "platform/win32/win32_text.h"
#include "ui/win32/control_binding.h"
#include "ui/win32/indicator_pictures.h"
#include "ui/win32/window_frame.h"

namespace tintal {

namespace {

constexpr wchar_t kClassName[] = L"TForm1";

struct MainWindowView {
    TForm1& form;
    std::function<void()> onCloseRequested;
    std::function<void()> onChooseWeather;
    HFONT font = nullptr;
    std::unique_ptr<ControlBinder> binder{};
    IndicatorPictures pictures{};
    MenuItem MenuQuitter{"MenuQuitter", "Quitter"};
    MenuItem MenuChoixMeteo{"MenuChoixMeteo", "Choix météo"};
    MenuItem menuFichier{"menuFichier", "Fichier"};
};

MainWindowView* viewOf(HWND hwnd) { return reinterpret_cast<MainWindowView*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }


void buildMenu(HWND hwnd, MainWindowView& v) {
    v.menuFichier.add(v.form.MenuPlageHoraire);
    v.menuFichier.add(v.form.MenuRecord);
    if (v.onChooseWeather) {
        v.menuFichier.add(v.MenuChoixMeteo);
        v.MenuChoixMeteo.onClick = v.onChooseWeather;
    }
    v.menuFichier.add(v.MenuQuitter);
    v.MenuQuitter.onClick = [hwnd] { PostMessageW(hwnd, WM_CLOSE, 0, 0); };
    HMENU bar = CreateMenu();
    v.binder->menuItem(bar, v.menuFichier);
    v.binder->menuItem(bar, v.form.MenuCarteSon);
    v.binder->menuItem(bar, v.form.MenuCOM);
    SetMenu(hwnd, bar);
}

// The port name, the transmit light, the clock picture (greyed while the carrier is present), the
// recorder's status and the hidden line labels.
void buildRadioIndicators(MainWindowView& v) {
    TForm1& f = v.form;
    ControlBinder& b = *v.binder;
    const IndicatorPictures& p = v.pictures;
    const int clock = IndicatorPictures::kClockSize, led = IndicatorPictures::kLedSize;
    b.image(f.ImageTintal, box(250, 244, clock, clock), p.clockOn);
    b.image(f.ImageTintalOff, box(250, 244, clock, clock), p.clockOff);
    b.image(f.ImageLedON, box(310, 260, led, led), p.ledOn);
    b.image(f.ImageLedOFF, box(310, 260, led, led), p.ledOff);
    b.label(f.LabelCOM, box(332, 258, 80, 20));
    b.label(f.LabelDCD, box(420, 244, 70, 18));
    b.label(f.LabelCTS, box(420, 264, 70, 18));
    b.label(f.LabelDSR, box(420, 284, 70, 18));
    b.label(f.StaticTextW, box(12, 300, 230, 22), CLR_INVALID, SS_SUNKEN);
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
    b.tickBox(f.CheckBoxTintal, box(12, 112, 100, 20));
    b.tickBox(f.CheckBoxDate, box(12, 138, 100, 20));
    b.tickBox(f.CheckBoxIlEst, box(12, 164, 100, 20));
    b.tickBox(f.CheckBoxheure, box(12, 190, 220, 20));
    b.tickBox(f.CheckBoxNoMinutes, box(12, 216, 220, 20));
    b.tickBox(f.CheckBoxFin, box(12, 242, 100, 20));
    b.textField(f.EditData, box(12, 330, 508, 22), true);
    b.staticText("Volume", box(470, 50, 60, 18));
    b.trackBar(f.sound.TrackBarVolume, box(476, 70, 40, 150));
    SoundControls& s = f.sound;
    HWND title = b.staticText(s.PanelCarteSon.caption(), box(250, 84, 200, 18));
    b.panel(s.PanelCarteSon, {title, b.radioButton(s.RadioButtonCarteWin, box(250, 104, 210, 20)),
                              b.radioButton(s.RadioButtonCarteMoi, box(250, 126, 210, 20)),
                              b.staticText(s.LabelSorties.caption(), box(250, 150, 200, 18)),
                              b.comboBox(s.ComboBoxChoixOut, box(250, 170, 210, 24)),
                              b.button(s.BitBtnOKCarteSon, box(250, 200, 60, 26))});
    buildRadioIndicators(v);
    buildMenu(hwnd, v);
}

// Ctrl+Alt+E reaches the hidden error-simulation item from any control of the window.
HHOOK keyboardHook = nullptr;
HWND hookTarget = nullptr;
LRESULT CALLBACK keyboardProc(int code, WPARAM key, LPARAM flags) {
    const bool pressed = (flags & (1u << 31)) == 0;
    if (code == HC_ACTION && pressed && key == 'E' && (GetKeyState(VK_CONTROL) & 0x8000) && (GetKeyState(VK_MENU) & 0x8000)) {
        PostMessageW(hookTarget, WM_APP, 0, 0);
        return 1;
    }
    return CallNextHookEx(keyboardHook, code, key, flags);
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MainWindowView* v = viewOf(hwnd);
    if (LRESULT result = 0; v && v->binder->dispatch(message, wParam, lParam, result)) return result;
    switch (message) {
        case WM_APP:
            if (v) v->form.MenuSimuErreur.click();
            return 0;
        case WM_CLOSE:
            if (v && v->onCloseRequested) v->onCloseRequested();
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

HWND createMainWindow(TForm1& form, std::function<void()> onCloseRequested, std::function<void()> onChooseWeather) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_UPDOWN_CLASS | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    registerWindowClass(kClassName, windowProc, LoadIconW(instance, MAKEINTRESOURCEW(1)));

    const Rect r = form.Form1.bounds();
    // A system menu and close box, no minimise or maximise box: the "-" button stands in for minimise.
    HWND hwnd = CreateWindowExW(0, kClassName, widen(form.Form1.caption()).c_str(),
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, r.left, r.top, r.width, r.height, nullptr,
                                nullptr, instance, nullptr);
    auto* v = new MainWindowView{form, std::move(onCloseRequested), std::move(onChooseWeather)};
    v->font = createControlFont();
    v->binder = std::make_unique<ControlBinder>(hwnd, v->font);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(v));
    buildControls(hwnd, *v);
    form.Form1.setRenderer([hwnd, &form] { ShowWindow(hwnd, form.Form1.visible() ? SW_SHOW : SW_HIDE); });
    hookTarget = hwnd;
    keyboardHook = SetWindowsHookExW(WH_KEYBOARD, keyboardProc, nullptr, GetCurrentThreadId());
    return hwnd;
}

}  // namespace tintal
