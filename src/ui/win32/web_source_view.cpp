#include "ui/win32/web_source_view.h"

#include <commctrl.h>

#include "ui/win32/window_placement.h"

namespace tintal {

namespace {

constexpr wchar_t kClassName[] = L"TintalWebSource";

LRESULT CALLBACK enterProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    if ((message == WM_CHAR && wParam == '\r') || (message == WM_GETDLGCODE && wParam == VK_RETURN)) {
        if (message == WM_CHAR) (*reinterpret_cast<std::function<void()>*>(data))();
        return message == WM_GETDLGCODE ? DLGC_WANTALLKEYS : 0;
    }
    if (message == WM_NCDESTROY) delete reinterpret_cast<std::function<void()>*>(data);
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

WebWindowView::WebWindowView(Window& form) : form_(form) {
    registerWindowClass(kClassName, DefWindowProcW);
    hwnd_ = createTopWindow(WS_EX_TOOLWINDOW, kClassName, form, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, nullptr,
                            placement_);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WebWindowView::windowProc));
    font_ = createControlFont();
    binder_ = std::make_unique<ControlBinder>(hwnd_, font_);
    form.setRenderer([this] { placeWindow(hwnd_, form_, placement_); });
}

LRESULT CALLBACK WebWindowView::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* view = reinterpret_cast<WebWindowView*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return view ? view->handle(message, wParam, lParam) : DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT WebWindowView::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (LRESULT result = 0; binder_->dispatch(message, wParam, lParam, result)) return result;
    switch (message) {
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && onActivate) onActivate();
            break;
        case WM_CLOSE: form_.hide(); return 0;
        case WM_NCDESTROY:
            DeleteObject(font_);
            SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
            break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

HWND WebWindowView::label(Label& label, RECT r) { return binder_->label(label, r); }

HWND WebWindowView::figure(TickBox& box, RECT r) { return binder_->tickBox(box, r); }

HWND WebWindowView::addressField(TextField& field, RECT r, std::function<void()> onEnter) {
    HWND hwnd = binder_->textField(field, r, false);
    SetWindowSubclass(hwnd, enterProc, 1, reinterpret_cast<DWORD_PTR>(new std::function<void()>(std::move(onEnter))));
    return hwnd;
}

namespace {

void layoutWebSource(WebWindowView& v, WebSourceWindow& s, const std::string& dateLabel) {
    ControlBinder& b = v.binder();
    v.label(s.LabelHistoryFile, box(10, 8, 300, 16));
    HWND history = b.comboBox(s.ComboBoxPath, box(10, 26, 410, 24));
    SetWindowLongPtrW(history, GWL_STYLE, GetWindowLongPtrW(history, GWL_STYLE) | WS_CLIPSIBLINGS);
    // The address field lies over the history box's text, leaving its drop-down button visible.
    HWND address = v.addressField(s.EditDat, box(12, 28, 386, 20), [&s] { s.EditDatKeyPress('\r'); });
    SetWindowPos(address, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    b.staticText(dateLabel, box(10, 58, 122, 18));
    b.textField(s.Editdatemeteo, box(134, 56, 152, 22), true, WS_BORDER);
    b.comboBox(s.ComboBoxTU, box(290, 56, 60, 24));
    v.label(s.StaticTextErreur, box(10, 84, 410, 18));
    b.staticText("Cocher pour synthèse vocale", box(10, 106, 250, 16));
    int y = 124;
    for (TickBox* figure : {&s.CheckBoxText, &s.CheckBoxPatm, &s.CheckBoxVent, &s.CheckBoxRafa, &s.CheckBoxDire,
                            &s.CheckBoxTRes, &s.CheckBoxPluie, &s.CheckBoxHumiExt}) {
        if (!figure->visible()) continue;
        v.figure(*figure, box(10, y, 236, 20));
        y += 20;
    }
    v.label(s.LabelTros, box(28, y, 230, 18));
    b.button(s.ButtonRafraichir, box(252, 124, 130, 26));
    b.staticText("toutes les", box(252, 158, 66, 18));
    b.spinEdit(s.SpinEditRafraichir, box(320, 156, 40, 22));
    b.staticText("minute(s)", box(364, 158, 64, 18));
    b.staticText("Recalage pression", box(280, 188, 110, 18));
    b.spinEdit(s.SpinEditOffSetPression, box(280, 206, 50, 22));
    b.staticText("mBars", box(336, 208, 40, 18));
    b.button(s.ButtonFav, box(280, 238, 80, 26));
    b.button(s.SpeedButtonMenuAide, box(366, 238, 26, 26));
}

}  // namespace

HWND createWebSourceWindow(WebSourceWindow& source, const std::string& dateLabel,
                           const std::function<void(WebWindowView&, ControlBinder&)>& addOwn) {
    auto* view = new WebWindowView(source.form);  // lives as long as its window, that is the program
    layoutWebSource(*view, source, dateLabel);
    addOwn(*view, view->binder());
    view->onActivate = [&source] { source.FormActivate(); };
    return view->hwnd();
}

}  // namespace tintal
