#include "ui/win32/indicator_pictures.h"

#include <functional>

#include "ui/win32/resource_ids.h"
#include "ui/win32/window_placement.h"

namespace tintal {

namespace {

// A square bitmap on the dialog colour, drawn by paint into a memory DC.
HBITMAP drawPicture(int size, const std::function<void(HDC)>& paint) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size, size);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    RECT all{0, 0, size, size};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
    paint(dc);
    SelectObject(dc, previous);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

void disc(HDC dc, int left, int top, int right, int bottom, COLORREF fill, COLORREF edge, int width) {
    HBRUSH brush = CreateSolidBrush(fill);
    HPEN pen = CreatePen(PS_SOLID, width, edge);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    Ellipse(dc, left, top, right, bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

void line(HDC dc, int x0, int y0, int x1, int y1, COLORREF colour, int width) {
    HPEN pen = CreatePen(PS_SOLID, width, colour);
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
    SelectObject(dc, old);
    DeleteObject(pen);
}

HBITMAP led(COLORREF colour) {
    const int s = dpiScaled(IndicatorPictures::kLedSize);
    return drawPicture(s, [&](HDC dc) { disc(dc, 1, 1, s - 1, s - 1, colour, RGB(60, 60, 60), 1); });
}

// The program's own icon when the executable carries it; a plain face otherwise (the test programs).
HBITMAP clock(int iconId, COLORREF face, COLORREF hands) {
    const int s = dpiScaled(IndicatorPictures::kClockSize);
    if (auto icon =
            static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId), IMAGE_ICON, s, s, 0))) {
        HBITMAP picture = drawPicture(s, [&](HDC dc) { DrawIconEx(dc, 0, 0, icon, s, s, 0, nullptr, DI_NORMAL); });
        DestroyIcon(icon);
        return picture;
    }
    return drawPicture(s, [&](HDC dc) {
        disc(dc, 2, 2, s - 2, s - 2, face, hands, 3);
        const int c = s / 2;
        line(dc, c, c, c, 10, hands, 3);          // minutes
        line(dc, c, c, c + 10, c + 4, hands, 3);  // hours
    });
}

}  // namespace

IndicatorPictures::IndicatorPictures()
    : ledOn(led(RGB(255, 30, 30))),
      ledOff(led(RGB(90, 20, 20))),
      clockOn(clock(IDI_TINTAL, RGB(255, 236, 160), RGB(40, 40, 120))),
      clockOff(clock(IDI_TINTAL_OFF, RGB(200, 200, 200), RGB(120, 120, 120))) {}

IndicatorPictures::~IndicatorPictures() {
    for (HBITMAP bitmap : {ledOn, ledOff, clockOn, clockOff}) DeleteObject(bitmap);
}

}  // namespace tintal
