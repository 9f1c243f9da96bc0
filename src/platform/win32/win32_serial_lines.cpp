#include "platform/win32/win32_serial_lines.h"

#include <windows.h>

#include <cstring>

#include "platform/serial_port_names.h"

namespace tintal {

namespace {

constexpr DWORD kRegistryBufferSize = 512;

HANDLE asHandle(void* handle) { return static_cast<HANDLE>(handle); }

// The settings keep their speed and framing; every flag goes but binary mode, so the driver never
// drives DTR or RTS by itself (no DTR/RTS control, no handshake, no flow control, no parity check).
bool keepBinaryModeAlone(HANDLE port) {
    DCB settings{};
    settings.DCBlength = sizeof settings;
    if (!GetCommState(port, &settings)) return false;
    settings.fBinary = TRUE;
    settings.fParity = FALSE;
    settings.fOutxCtsFlow = FALSE;
    settings.fOutxDsrFlow = FALSE;
    settings.fDtrControl = DTR_CONTROL_DISABLE;
    settings.fDsrSensitivity = FALSE;
    settings.fTXContinueOnXoff = FALSE;
    settings.fOutX = FALSE;
    settings.fInX = FALSE;
    settings.fErrorChar = FALSE;
    settings.fNull = FALSE;
    settings.fRtsControl = RTS_CONTROL_DISABLE;
    settings.fAbortOnError = FALSE;
    settings.fDummy2 = 0;
    return SetCommState(port, &settings) != FALSE;
}

}  // namespace

Win32SerialLines::Win32SerialLines(std::string keyPath) : keyPath_(std::move(keyPath)) {}

Win32SerialLines::~Win32SerialLines() { close(); }

std::vector<std::string> Win32SerialLines::portNames() {
    std::vector<std::string> names;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath_.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return names;
    for (DWORD index = 0;; ++index) {
        char name[kRegistryBufferSize];
        BYTE data[kRegistryBufferSize];
        DWORD nameLength = sizeof name;
        DWORD dataSize = sizeof data;
        DWORD type = 0;
        const LONG result = RegEnumValueA(key, index, name, &nameLength, nullptr, &type, data, &dataSize);
        // An oversized value is skipped rather than hiding the ports listed after it.
        if (result == ERROR_MORE_DATA) continue;
        if (result != ERROR_SUCCESS) break;
        if (type != REG_SZ) continue;
        const char* text = reinterpret_cast<const char*>(data);
        names.emplace_back(text, strnlen(text, dataSize));
    }
    RegCloseKey(key);
    return names;
}

bool Win32SerialLines::open(std::string_view portName) {
    close();
    // Only a port name goes after "\\.\": anything else could open some other device.
    if (!portNumber(portName)) return false;
    const std::string path = "\\\\.\\" + std::string(portName);
    // No access rights: the lines and the settings need none, and no data is ever exchanged.
    HANDLE port = CreateFileA(path.c_str(), 0, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (port == INVALID_HANDLE_VALUE) return false;
    if (!keepBinaryModeAlone(port)) {
        CloseHandle(port);
        return false;
    }
    EscapeCommFunction(port, CLRDTR);
    EscapeCommFunction(port, CLRRTS);
    handle_ = port;
    return true;
}

void Win32SerialLines::close() {
    if (!handle_) return;
    EscapeCommFunction(asHandle(handle_), CLRDTR);
    EscapeCommFunction(asHandle(handle_), CLRRTS);
    CloseHandle(asHandle(handle_));
    handle_ = nullptr;
}

bool Win32SerialLines::setDtr(bool on) {
    return handle_ && EscapeCommFunction(asHandle(handle_), on ? SETDTR : CLRDTR) != FALSE;
}

bool Win32SerialLines::setRts(bool on) {
    return handle_ && EscapeCommFunction(asHandle(handle_), on ? SETRTS : CLRRTS) != FALSE;
}

std::optional<ModemInputs> Win32SerialLines::readInputs() {
    DWORD status = 0;
    if (!handle_ || !GetCommModemStatus(asHandle(handle_), &status)) return std::nullopt;
    return ModemInputs{
        .cts = (status & MS_CTS_ON) != 0, .dsr = (status & MS_DSR_ON) != 0, .dcd = (status & MS_RLSD_ON) != 0};
}

}  // namespace tintal
