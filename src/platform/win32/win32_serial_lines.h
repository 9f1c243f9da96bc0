#pragma once
#include <string>

#include "platform/serial_lines.h"

namespace tintal {

// Modem lines through the Win32 communications calls. Ports are the values of the system's serial
// port map in the registry (the key can be moved for tests).
class Win32SerialLines : public SerialLines {
public:
    static constexpr const char* kSerialPortMapKey = "HARDWARE\\DEVICEMAP\\SERIALCOMM";

    // keyPath: under HKEY_LOCAL_MACHINE.
    explicit Win32SerialLines(std::string keyPath = kSerialPortMapKey);
    ~Win32SerialLines() override;
    Win32SerialLines(const Win32SerialLines&) = delete;
    Win32SerialLines& operator=(const Win32SerialLines&) = delete;

    // The data of every value of the key (without its terminating NUL); empty when the key is missing.
    std::vector<std::string> portNames() override;
    bool open(std::string_view portName) override;
    void close() override;
    bool isOpen() const override { return handle_ != nullptr; }
    bool setDtr(bool on) override;
    bool setRts(bool on) override;
    std::optional<ModemInputs> readInputs() override;

private:
    std::string keyPath_;
    void* handle_ = nullptr;  // the device's HANDLE; never INVALID_HANDLE_VALUE
};

}  // namespace tintal
