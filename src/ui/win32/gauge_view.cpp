#include "ui/win32/gauge_view.h"

#include <commctrl.h>

#include "ui/win32/tooltips.h"
#include "ui/win32/window_placement.h"

namespace tintal {

namespace {

void paint(HWND hwnd, const SpinBox& gauge) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r{};
    GetClientRect(hwnd, &r);
    DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    HBRUSH red = CreateSolidBrush(RGB(220, 0, 0));
    FillRect(dc, &r, red);
    DeleteObject(red);
    const int range = gauge.maximum() - gauge.minimum();
    const int filled = range > 0 ? MulDiv(r.bottom - r.top, gauge.value() - gauge.minimum(), range) : 0;
    RECT bar{r.left, r.bottom - filled, r.right, r.bottom};
    HBRUSH green = CreateSolidBrush(RGB(0, 170, 0));
    FillRect(dc, &bar, green);
    DeleteObject(green);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK gaugeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    switch (message) {
        case WM_PAINT: paint(hwnd, *reinterpret_cast<const SpinBox*>(data)); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_NCDESTROY: RemoveWindowSubclass(hwnd, gaugeProc, 1); break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

HWND createGauge(HWND parent, RECT r, SpinBox& gauge) {
    r = dpiScaled(r);
    // SS_NOTIFY: the gauge sees the mouse, for its hint.
    HWND hwnd = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_NOTIFY, r.left, r.top, r.right - r.left,
                                r.bottom - r.top, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowSubclass(hwnd, gaugeProc, 1, reinterpret_cast<DWORD_PTR>(&gauge));
    const auto render = [hwnd, &gauge] {
        InvalidateRect(hwnd, nullptr, FALSE);
        setControlHint(hwnd, gauge.hint());
    };
    gauge.setRenderer(render);
    render();
    return hwnd;
}

}  // namespace tintal
