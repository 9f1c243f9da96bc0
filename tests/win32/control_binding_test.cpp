// Menu items bound to a real menu: a hidden item is left out of the menu and reached by its shortcut.
#include "ui/win32/control_binding.h"

#include <gtest/gtest.h>

namespace tintal {
namespace {

TEST(ControlBinding, AHiddenMenuItemIsChosenByItsExactShortcutOnly) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"owner", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    HMENU bar = CreateMenu();
    int shownClicks = 0, hiddenClicks = 0;
    MenuItem shown("MenuCOM", "COM");
    shown.onClick = [&] { ++shownClicks; };
    MenuItem hidden("MenuSimuErreur", "Simu Errreur (caché)");
    hidden.setVisible(false);
    hidden.setShortcut({.ctrl = true, .alt = true, .key = 'E'});
    hidden.onClick = [&] { ++hiddenClicks; };
    {
        ControlBinder binder(owner, nullptr);
        binder.menuItem(bar, shown);
        binder.menuItem(bar, hidden);
        EXPECT_EQ(GetMenuItemCount(bar), 1);

        const int command = binder.shortcutCommand('E', true, true, false);
        ASSERT_NE(command, 0);
        LRESULT result = 0;
        EXPECT_TRUE(binder.dispatch(WM_COMMAND, MAKEWPARAM(command, 1), 0, result));
        EXPECT_EQ(hiddenClicks, 1);
        EXPECT_EQ(shownClicks, 0);

        EXPECT_EQ(binder.shortcutCommand('E', true, false, false), 0);
        EXPECT_EQ(binder.shortcutCommand('E', false, true, false), 0);
        EXPECT_EQ(binder.shortcutCommand('E', true, true, true), 0);
        EXPECT_EQ(binder.shortcutCommand('F', true, true, false), 0);
        EXPECT_EQ(binder.shortcutCommand('E' + 256, true, true, false), 0);
    }
    DestroyMenu(bar);
    DestroyWindow(owner);
}

}  // namespace
}  // namespace tintal
