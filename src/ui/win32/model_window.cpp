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

ModelWindowView* viewOf(HWND hwnd) { return reinterpret_cast<ModelWindowView*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    ModelWindowView* v = viewOf(hwnd);
    switch (message) {
        case WM_COMMAND:
            if (v && v->binder->command(wParam)) return 0;
            break;
        case WM_NOTIFY: {
            LRESULT result = 0;
            if (v && v->binder->notify(lParam, result)) return result;
            break;
        }
        case WM_CLOSE:
            if (v) v->model.hide();
            return 0;
        case WM_NCDESTROY:
            if (v) DeleteObject(v->font);
            delete v;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

HWND createModelWindow(Window& model, const wchar_t* className, HWND owner,
                       const std::function<void(ControlBinder&)>& build) {
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.lpfnWndProc = windowProc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszClassName = className;
    RegisterClassExW(&cls);  // fails harmlessly when already registered

    const Rect r = model.bounds();
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    RECT outer{0, 0, r.width, r.height};
    AdjustWindowRect(&outer, style, FALSE);
    HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, className, widen(model.caption()).c_str(), style, r.left, r.top,
                                outer.right - outer.left, outer.bottom - outer.top, owner, nullptr, cls.hInstance,
                                nullptr);
    auto* v = new ModelWindowView{model};
    v->font = CreateFontW(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, CLEARTYPE_QUALITY, 0, L"Tahoma");
    v->binder = std::make_unique<ControlBinder>(hwnd, v->font);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(v));
    build(*v->binder);
    model.setRenderer([hwnd, &model] { ShowWindow(hwnd, model.visible() ? SW_SHOW : SW_HIDE); });
    if (model.visible()) ShowWindow(hwnd, SW_SHOW);
    return hwnd;
}

}  // namespace tintal
