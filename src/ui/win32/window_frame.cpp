#include "ui/win32/window_frame.h"

#include <memory>

#include "platform/win32/win32_text.h"

namespace tintal {

namespace {

constexpr wchar_t kClassName[] = L"TintalFenetre";

struct FrameView {
    explicit FrameView(Window& m) : model(m) {}
    Window& model;
    HFONT font = nullptr;
    HFONT italic = nullptr;
    std::unique_ptr<ControlBinder> binder;
    Rect placed{};
};

FrameView* viewOf(HWND hwnd) { return reinterpret_cast<FrameView*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

LRESULT CALLBACK frameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    FrameView* v = viewOf(hwnd);
    LRESULT result = 0;
    if (v && v->binder && v->binder->dispatch(message, wParam, lParam, result)) return result;
    switch (message) {
        case WM_CLOSE:
            if (v) v->model.hide();
            return 0;
        case WM_NCDESTROY:
            if (v) {
                v->model.setRenderer(nullptr);
                v->binder.reset();
                DeleteObject(v->font);
                DeleteObject(v->italic);
                delete v;
            }
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

HFONT tahoma(bool italic) {
    return CreateFontW(-13, 0, 0, 0, FW_NORMAL, italic, 0, 0, DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0, L"Tahoma");
}

}  // namespace

int bindAnnouncePanel(ControlBinder& binder, const std::vector<TickBox*>& figures, int top, int width, int step) {
    binder.staticText("Cocher pour synthèse vocale", box(8, top - 18, width, 18));
    for (TickBox* figure : figures) {
        binder.tickBox(*figure, box(8, top, width, step - 1));
        top += step;
    }
    return top;
}

WindowFrame createWindowFrame(Window& model, HWND owner) {
    registerWindowClass(kClassName, frameProc, LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1)));
    const Rect r = model.bounds();
    HWND hwnd = CreateWindowExW(WS_EX_DLGMODALFRAME, kClassName, widen(model.caption()).c_str(),
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, r.left, r.top, r.width, r.height, owner,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
    auto* v = new FrameView(model);
    v->font = tahoma(false);
    v->italic = tahoma(true);
    v->binder = std::make_unique<ControlBinder>(hwnd, v->font);
    v->placed = r;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(v));
    model.setRenderer([hwnd, v] {
        const Rect& wanted = v->model.bounds();
        if (!(wanted == v->placed)) {
            SetWindowPos(hwnd, nullptr, wanted.left, wanted.top, wanted.width, wanted.height,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            v->placed = wanted;
        }
        ShowWindow(hwnd, v->model.visible() ? SW_SHOW : SW_HIDE);
    });
    return {hwnd, *v->binder, v->italic};
}

}  // namespace tintal
