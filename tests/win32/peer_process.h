#pragma once
// A test peer (tests/peers) run as a child process from beside the test's own exe, its standard
// output read line by line.
#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/win32_text.h"

namespace tintal {

class PeerProcess {
public:
    // exe: the peer's file name, found in this test's folder.
    PeerProcess(const std::wstring& exe, const std::string& arguments) {
        wchar_t self[MAX_PATH];
        const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
        std::wstring path(self, n);
        path = path.substr(0, path.find_last_of(L"\\/") + 1) + exe;

        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE write = nullptr;
        if (!CreatePipe(&read_, &write, &inherit, 0)) return;
        SetHandleInformation(read_, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = write;
        startup.hStdError = write;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        std::wstring command = L"\"" + path + L"\" " + widen(arguments);
        PROCESS_INFORMATION info{};
        if (CreateProcessW(path.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                           &info)) {
            process_ = info.hProcess;
            CloseHandle(info.hThread);
        }
        CloseHandle(write);
    }
    ~PeerProcess() {
        if (process_) {
            TerminateProcess(process_, 99);
            WaitForSingleObject(process_, 5000);
            CloseHandle(process_);
        }
        if (read_) CloseHandle(read_);
    }
    PeerProcess(const PeerProcess&) = delete;
    PeerProcess& operator=(const PeerProcess&) = delete;

    bool started() const { return process_ != nullptr; }
    bool ended() const { return !process_ || WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }

    // The next line the peer prints, within timeoutMs.
    std::optional<std::string> nextLine(int timeoutMs = 10000) {
        const auto start = std::chrono::steady_clock::now();
        for (;;) {
            if (const auto end = buffer_.find('\n'); end != std::string::npos) {
                std::string line = buffer_.substr(0, end);
                buffer_.erase(0, end + 1);
                if (!line.empty() && line.back() == '\r') line.pop_back();
                lines.push_back(line);
                return line;
            }
            DWORD available = 0;
            if (!PeekNamedPipe(read_, nullptr, 0, nullptr, &available, nullptr)) return std::nullopt;  // ended
            if (available == 0) {
                const auto waited = std::chrono::steady_clock::now() - start;
                if (waited >= std::chrono::milliseconds(timeoutMs)) return std::nullopt;
                Sleep(5);
                continue;
            }
            char chunk[512];
            DWORD got = 0;
            if (!ReadFile(read_, chunk, sizeof chunk < available ? sizeof chunk : available, &got, nullptr)) {
                return std::nullopt;
            }
            buffer_.append(chunk, got);
        }
    }

    // Its exit code, or -1 when it had not ended within timeoutMs.
    int exitCode(int timeoutMs = 20000) {
        if (!process_ || WaitForSingleObject(process_, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(process_, &code);
        CloseHandle(process_);
        process_ = nullptr;
        while (nextLine(0)) {
        }
        return static_cast<int>(code);
    }

    std::vector<std::string> lines;

private:
    HANDLE process_ = nullptr;
    HANDLE read_ = nullptr;
    std::string buffer_;
};

// The companion program's stand-in.
class Peer : public PeerProcess {
public:
    explicit Peer(const std::string& arguments) : PeerProcess(L"companion_peer.exe", arguments) {}
    explicit Peer(const std::vector<std::string>& arguments) : Peer(joined(arguments)) {}
    int exitStatus(int timeoutMs) { return exitCode(timeoutMs); }

private:
    static std::string joined(const std::vector<std::string>& arguments) {
        std::string line;
        for (const std::string& argument : arguments) line += (line.empty() ? "" : " ") + argument;
        return line;
    }
};

}  // namespace tintal
