#include "ui/win32/model_window.h"

#include <memory>

#include "platform/win32/win32_text.h"

namespace tintal {

namespace {

struct ModelWindowView {
    Window& model;
    HFONT font = nullptr;
    std::unique_ptr<ControlBinder> binder{};
};

ModelWindowView* viewOf(HWND hwnd) {
    return reinterpret_cast<ModelWindowView*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ModelWindowView* v = viewOf(hwnd);
    if (LRESULT result = 0; v && v->binder->dispatch(message, wParam, lParam, result)) return result;
    switch (message) {
        case WM_CLOSE:
            if (v) v->model.hide();
            return 0;
        case WM_NCDESTROY: destroyView(hwnd, v); break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

HWND createModelWindow(Window& model, const wchar_t* className, HWND owner,
                       const std::function<void(ControlBinder&)>& build) {
    registerWindowClass(className, windowProc);

    const Rect r = model.bounds();
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    RECT outer{0, 0, r.width, r.height};
    AdjustWindowRect(&outer, style, FALSE);
    HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, className, widen(model.caption()).c_str(), style, r.left, r.top,
                                outer.right - outer.left, outer.bottom - outer.top, owner, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    auto* v = new ModelWindowView{model};
    v->font = createControlFont();
    v->binder = std::make_unique<ControlBinder>(hwnd, v->font);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(v));
    build(*v->binder);
    model.setRenderer([hwnd, &model] { ShowWindow(hwnd, model.visible() ? SW_SHOW : SW_HIDE); });
    if (model.visible()) ShowWindow(hwnd, SW_SHOW);
    return hwnd;
}

}  // namespace tintal
