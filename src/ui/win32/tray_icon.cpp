#include "ui/win32/tray_icon.h"

#include <shellapi.h>

#include "platform/win32/win32_text.h"

namespace tintal {

TrayIcon::TrayIcon(HWND owner, UINT callbackMessage, HICON icon, const std::wstring& tip) {
    data_.cbSize = sizeof data_;
    data_.hWnd = owner;
    data_.uID = 0;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = callbackMessage;
    data_.hIcon = icon;
    lstrcpynW(data_.szTip, tip.c_str(), static_cast<int>(std::size(data_.szTip)));
}

TrayIcon::~TrayIcon() { remove(); }

bool TrayIcon::add() {
    if (!shown_) shown_ = Shell_NotifyIconW(NIM_ADD, &data_) != FALSE;
    return shown_;
}

void TrayIcon::remove() {
    if (!shown_) return;
    Shell_NotifyIconW(NIM_DELETE, &data_);
    shown_ = false;
}

void TrayIcon::showMenu(const std::vector<MenuItem*>& items, const MenuItem* defaultItem) {
    HMENU menu = CreatePopupMenu();
    for (std::size_t i = 0; i < items.size(); ++i) {
        AppendMenuW(menu, MF_STRING, i + 1, widen(items[i]->caption()).c_str());
        if (items[i] == defaultItem) SetMenuDefaultItem(menu, static_cast<UINT>(i + 1), FALSE);
    }
    POINT at{};
    GetCursorPos(&at);
    // The owner must be in front, or the menu does not close when the user clicks elsewhere.
    SetForegroundWindow(data_.hWnd);
    const UINT chosen =
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, data_.hWnd, nullptr);
    PostMessageW(data_.hWnd, WM_NULL, 0, 0);
    DestroyMenu(menu);
    if (chosen >= 1 && chosen <= items.size()) items[chosen - 1]->click();
}

}  // namespace tintal
