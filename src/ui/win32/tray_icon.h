#pragma once
// The notification-area icon of the main window, and the menu it opens.
#include <windows.h>

#include <string>
#include <vector>

#include "widgets/menu_item.h"

namespace tintal {

class TrayIcon {
public:
    // The icon sends callbackMessage to owner, the mouse message in lParam.
    TrayIcon(HWND owner, UINT callbackMessage, HICON icon, const std::wstring& tip);
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    bool add();
    // Safe to call more than once.
    void remove();
    bool shown() const { return shown_; }

    // Opens the menu at the cursor; the chosen item's click runs before it returns.
    void showMenu(const std::vector<MenuItem*>& items, const MenuItem* defaultItem);

private:
    NOTIFYICONDATAW data_{};
    bool shown_ = false;
};

}  // namespace tintal
