#include "ui/win32/window_frame.h"

#include <memory>

#include "ui/win32/resource_ids.h"
#include "ui/win32/window_placement.h"

namespace tintal {

namespace {

constexpr wchar_t kClassName[] = L"TintalFenetre";

struct FrameView {
    explicit FrameView(Window& m) : model(m) {}
    Window& model;
    HFONT font = nullptr;
    HFONT italic = nullptr;
    std::unique_ptr<ControlBinder> binder;
    Placement placement{};
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

}  // namespace

int bindAnnouncePanel(ControlBinder& binder, const std::vector<TickBox*>& figures, int top, int width, int step) {
    binder.staticText("Cocher pour synthèse vocale", box(8, top - 18, width, 18));
    binder.tickBoxes(figures, box(8, top, width, step - 1), step);
    return top + step * static_cast<int>(figures.size());
}

WindowFrame createWindowFrame(Window& model, HWND owner) {
    registerWindowClass(kClassName, frameProc, LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TINTAL)));
    auto* v = new FrameView(model);
    HWND hwnd = createTopWindow(WS_EX_DLGMODALFRAME, kClassName, model, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, owner,
                                v->placement);
    v->font = createControlFont(false);
    v->italic = createControlFont(true);
    v->binder = std::make_unique<ControlBinder>(hwnd, v->font);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(v));
    model.setRenderer([hwnd, v] { placeWindow(hwnd, v->model, v->placement); });
    return {hwnd, *v->binder, v->italic};
}

}  // namespace tintal
