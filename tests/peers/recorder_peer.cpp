// A stand-in for the recorder program, built with the Windows tests and never shipped: a top-level
// window of class "TFormZorvane" titled "PALVOMANE" that answers each WM_COPYDATA command. It logs
// one line per event, with GetTickCount64() so that another process can compare the instants:
//
//   <ms> window                                  its window exists
//   <ms> command id=<n> nul=<yes|no> sender=<yes|no> <text>
//
// to standard output and, appended, to the log file.
//
//   recorder_peer [--answer N] [--log FILE] [--appear-after MS] [--timeout MS]
//
// The answer is N for every command, or by default 1, 2, 3 for "Zorvane record", "Zorvane stop",
// "Zorvane close" (0 for anything else). "Zorvane close" ends it, as does the timeout (default 30 s).
// The log defaults to "recorder_peer.log" in the current folder (where a shell start puts it).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

namespace {

constexpr UINT_PTR kTimeoutTimer = 1;
constexpr UINT_PTR kAppearTimer = 2;

LRESULT g_answer = -1;
std::string g_logPath = "recorder_peer.log";

void log(const std::string& line) {
    const std::string stamped = std::to_string(GetTickCount64()) + " " + line;
    std::printf("%s\n", stamped.c_str());
    std::fflush(stdout);
    if (FILE* file = std::fopen(g_logPath.c_str(), "ab")) {
        std::fprintf(file, "%s\n", stamped.c_str());
        std::fclose(file);
    }
}

LRESULT answerFor(std::string_view text) {
    if (g_answer >= 0) return g_answer;
    if (text == "Zorvane record") return 1;
    if (text == "Zorvane stop") return 2;
    if (text == "Zorvane close") return 3;
    return 0;
}

LRESULT onCopyData(WPARAM sender, const COPYDATASTRUCT& data) {
    const char* bytes = static_cast<const char*>(data.lpData);
    const bool terminated = data.cbData > 0 && bytes && bytes[data.cbData - 1] == '\0';
    const std::string text = bytes ? std::string(bytes, terminated ? data.cbData - 1 : data.cbData) : std::string();
    log("command id=" + std::to_string(data.dwData) + " nul=" + (terminated ? "yes" : "no") +
        " sender=" + (sender ? "yes" : "no") + " " + text);
    const LRESULT answer = answerFor(text);
    if (text == "Zorvane close") PostQuitMessage(0);
    return answer;
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COPYDATA: return onCopyData(wParam, *reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        case WM_TIMER:
            if (wParam == kTimeoutTimer) PostQuitMessage(2);
            return 0;
        case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND createRecorderWindow() {
    HWND hwnd = CreateWindowExA(0, "TFormZorvane", "PALVOMANE", WS_OVERLAPPEDWINDOW, 40, 40, 240, 80, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    if (hwnd) log("window");
    return hwnd;
}

// Only the window's own timers: the appearance delay runs before the window exists.
LRESULT CALLBACK helperProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kAppearTimer) {
        KillTimer(hwnd, kAppearTimer);
        createRecorderWindow();
        return 0;
    }
    if (message == WM_TIMER && wParam == kTimeoutTimer) {
        PostQuitMessage(2);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
    int appearAfterMs = 0, timeoutMs = 30000;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (i + 1 >= argc) return 4;
        if (arg == "--answer") {
            g_answer = std::atoi(argv[++i]);
        } else if (arg == "--log") {
            g_logPath = argv[++i];
        } else if (arg == "--appear-after") {
            appearAfterMs = std::atoi(argv[++i]);
        } else if (arg == "--timeout") {
            timeoutMs = std::atoi(argv[++i]);
        } else {
            return 4;
        }
    }
    WNDCLASSA cls{};
    cls.lpfnWndProc = windowProc;
    cls.hInstance = GetModuleHandleA(nullptr);
    cls.lpszClassName = "TFormZorvane";
    RegisterClassA(&cls);
    WNDCLASSA helperCls{};
    helperCls.lpfnWndProc = helperProc;
    helperCls.hInstance = GetModuleHandleA(nullptr);
    helperCls.lpszClassName = "RecorderPeerTimers";
    RegisterClassA(&helperCls);
    HWND helper = CreateWindowExA(0, "RecorderPeerTimers", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    SetTimer(helper, kTimeoutTimer, static_cast<UINT>(timeoutMs), nullptr);
    if (appearAfterMs > 0) {
        SetTimer(helper, kAppearTimer, static_cast<UINT>(appearAfterMs), nullptr);
    } else if (!createRecorderWindow()) {
        return 1;
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return static_cast<int>(msg.wParam);
}
