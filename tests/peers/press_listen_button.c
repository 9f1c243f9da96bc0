/* Presses "Ecouter le tintal" of a running clock as the user does, for scenarios that need an
 * announcement the clock starts by itself: the button's click notification sent to its window.
 *   press_listen_button        exit status 0 pressed, 1 no clock window or no button */
#include <windows.h>

static HWND button;

static BOOL CALLBACK findButton(HWND child, LPARAM unused) {
    char text[64];
    (void)unused;
    if (GetWindowTextA(child, text, sizeof text) > 0 && lstrcmpA(text, "Ecouter le tintal") == 0) {
        button = child;
        return FALSE;
    }
    return TRUE;
}

int main(void) {
    HWND clock = FindWindowA("TForm1", NULL);
    if (!clock) return 1;
    EnumChildWindows(clock, findButton, 0);
    if (!button) return 1;
    /* Posted: the press returns at once while the announcement runs. */
    PostMessageA(clock, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), (LPARAM)button);
    return 0;
}
