#include "platform/win32/win32_desktop.h"

#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include "base/date_time.h"
#include "platform/win32/win32_text.h"

namespace tintal {

namespace {

SYSTEMTIME toSystemTime(double dateTime) {
    const DateTimeFields f = decodeDateTime(dateTime);
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(f.year);
    st.wMonth = static_cast<WORD>(f.month);
    st.wDay = static_cast<WORD>(f.day);
    st.wDayOfWeek = static_cast<WORD>(f.dayOfWeek - 1);
    st.wHour = static_cast<WORD>(f.hour);
    st.wMinute = static_cast<WORD>(f.minute);
    st.wSecond = static_cast<WORD>(f.second);
    st.wMilliseconds = static_cast<WORD>(f.millisecond);
    return st;
}

}  // namespace

void Win32Desktop::beep() { MessageBeep(MB_OK); }

std::string Win32Desktop::shortDate(double dateTime) const {
    const SYSTEMTIME st = toSystemTime(dateTime);
    wchar_t text[64];
    if (GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, text, 64) == 0) return {};
    return narrow(text);
}

std::string Win32Desktop::longTime(double dateTime) const {
    const SYSTEMTIME st = toSystemTime(dateTime);
    wchar_t text[64];
    if (GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, text, 64) == 0) return {};
    return narrow(text);
}

char Win32Desktop::decimalSeparator() const {
    wchar_t text[8];
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, 8) == 0 || text[0] > 0x7F) return ',';
    return static_cast<char>(text[0]);
}

std::optional<std::string> Win32Desktop::chooseFile(const std::string& filter, const std::string& defaultExtension) {
    // The dialog wants each description and pattern ended by a NUL, and the list by another.
    std::wstring filters = widen(filter);
    for (wchar_t& c : filters) {
        if (c == L'|') c = L'\0';
    }
    filters.push_back(L'\0');
    filters.push_back(L'\0');
    const std::wstring extension = widen(defaultExtension);
    wchar_t path[MAX_PATH] = L"";
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = filters.c_str();
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    dialog.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&dialog)) return std::nullopt;
    return narrow(path);
}

// Dialogs belong to the program's active window, so they stay in front of it.
void Win32Desktop::showMessage(const std::string& text, MessageKind kind) {
    const UINT icon = kind == MessageKind::Warning ? MB_ICONWARNING : kind == MessageKind::Error ? MB_ICONERROR : 0;
    MessageBoxW(GetActiveWindow(), widen(text).c_str(), L"Tintal", MB_OK | icon);
}

bool Win32Desktop::openWithShell(const std::string& target) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(GetActiveWindow(), L"open", widen(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

}  // namespace tintal

namespace tintal {

void Win32Desktop::setWarningBeep(bool on) {
    SystemParametersInfoW(SPI_SETBEEP, on ? TRUE : FALSE, nullptr, SPIF_SENDCHANGE);
}

int Win32Desktop::timeZoneBiasMinutes() const {
    TIME_ZONE_INFORMATION zone{};
    const DWORD mode = GetTimeZoneInformation(&zone);
    return static_cast<int>(zone.Bias + (mode == TIME_ZONE_ID_DAYLIGHT ? zone.DaylightBias : 0));
}

}  // namespace tintal
