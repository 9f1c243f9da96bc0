#include "ui/win32/window_placement.h"

#include "platform/win32/win32_text.h"

namespace tintal {

int screenDpi() {
    static const int dpi = [] {
        HDC screen = GetDC(nullptr);
        const int value = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
        if (screen) ReleaseDC(nullptr, screen);
        return value > 0 ? value : 96;
    }();
    return dpi;
}

int dpiScaled(int pixels96) { return MulDiv(pixels96, screenDpi(), 96); }

int dpiUnscaled(int pixels) { return MulDiv(pixels, 96, screenDpi()); }

RECT dpiScaled(RECT r96) {
    return RECT{dpiScaled(r96.left), dpiScaled(r96.top), dpiScaled(r96.right), dpiScaled(r96.bottom)};
}

HWND createTopWindow(DWORD exStyle, const wchar_t* className, const Window& model, DWORD style, HWND owner,
                     Placement& placement) {
    // The place is the user's screen position; only the size follows the scale.
    const Rect b = model.bounds();
    placement = {b, model.frontRequests()};
    return CreateWindowExW(exStyle, className, widen(model.caption()).c_str(), style, b.left, b.top, dpiScaled(b.width),
                           dpiScaled(b.height), owner, nullptr, GetModuleHandleW(nullptr), nullptr);
}

void placeWindow(HWND hwnd, const Window& model, Placement& placement) {
    if (const Rect& b = model.bounds(); !(b == placement.placed)) {
        SetWindowPos(hwnd, nullptr, b.left, b.top, dpiScaled(b.width), dpiScaled(b.height),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        placement.placed = b;
    }
    ShowWindow(hwnd, model.visible() ? SW_SHOW : SW_HIDE);
    if (model.visible() && model.frontRequests() != placement.frontRequests) {
        if (IsIconic(hwnd)) ShowWindow(hwnd, SW_RESTORE);
        SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetForegroundWindow(hwnd);
    }
    placement.frontRequests = model.frontRequests();
}

Rect modelBoundsOf(HWND hwnd) {
    RECT at{};
    GetWindowRect(hwnd, &at);
    return {at.left, at.top, dpiUnscaled(at.right - at.left), dpiUnscaled(at.bottom - at.top)};
}

}  // namespace tintal
