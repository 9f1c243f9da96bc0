#include "platform/win32/win32_recorder_link.h"

#include <shellapi.h>

#include <string>

#include "base/text_encoding.h"

namespace tintal {

namespace {

HWND findRecorder() {
    return FindWindowA(std::string(kRecorderWindowClass).c_str(), std::string(kRecorderWindowTitle).c_str());
}

// ShellExecute reports success with a value above 32.
constexpr INT_PTR kShellExecuteFailureLimit = 32;

}  // namespace

bool Win32RecorderLink::windowExists() { return findRecorder() != nullptr; }

std::optional<std::intptr_t> Win32RecorderLink::sendCommand(std::string_view command) {
    HWND recorder = findRecorder();
    if (!recorder) return std::nullopt;
    std::string text = utf8ToCp1252(command);
    COPYDATASTRUCT data{};
    data.dwData = 0;
    data.cbData = static_cast<DWORD>(text.size() + 1);  // with the terminating NUL
    data.lpData = text.data();
    return SendMessageA(recorder, WM_COPYDATA, reinterpret_cast<WPARAM>(sender_), reinterpret_cast<LPARAM>(&data));
}

bool Win32RecorderLink::launch(const std::string& path) {
    const std::string file = utf8ToCp1252(path);
    const auto result =
        reinterpret_cast<INT_PTR>(ShellExecuteA(sender_, "open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > kShellExecuteFailureLimit;
}

}  // namespace tintal
