#include "ui/win32/tooltips.h"

#include <commctrl.h>

#include "platform/win32/win32_text.h"

namespace tintal {

namespace {

constexpr wchar_t kTooltipProperty[] = L"TintalTooltip";
constexpr wchar_t kHasToolProperty[] = L"TintalHasHint";  // on the control, once its tool is added

HWND ensureTooltip(HWND window) {
    if (HWND tip = tooltipOf(window)) return tip;
    HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    // Long paths in the "Parcourir" hints wrap instead of running off the screen.
    SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, 480);
    SetPropW(window, kTooltipProperty, tip);
    return tip;
}

TTTOOLINFOW toolOf(HWND window, HWND control, std::wstring& text) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = text.data();
    return tool;
}

}  // namespace

HWND tooltipOf(HWND window) { return static_cast<HWND>(GetPropW(window, kTooltipProperty)); }

void setControlHint(HWND control, const std::string& hint) {
    HWND window = GetAncestor(control, GA_ROOT);
    if (!window || (hint.empty() && !tooltipOf(window))) return;
    HWND tip = ensureTooltip(window);
    std::wstring text = widen(hint);
    TTTOOLINFOW tool = toolOf(window, control, text);
    const bool known = GetPropW(control, kHasToolProperty) != nullptr;
    if (hint.empty()) {
        if (known) SendMessageW(tip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        RemovePropW(control, kHasToolProperty);
    } else if (known) {
        SendMessageW(tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    } else if (SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) {
        SetPropW(control, kHasToolProperty, reinterpret_cast<HANDLE>(1));
    }
}

}  // namespace tintal
