#pragma once
#include <string>

#include "platform/serial_lines.h"

namespace tintal {

// Modem lines through termios ioctls. Ports are the serial devices found in a /dev folder, named
// "COMn" by the fixed mapping of radio/serial_port_list.h. Both folders can be moved for tests.
class PosixSerialLines : public SerialLines {
public:
    explicit PosixSerialLines(std::string devFolder = "/dev", std::string sysTtyFolder = "/sys/class/tty");
    ~PosixSerialLines() override;
    PosixSerialLines(const PosixSerialLines&) = delete;
    PosixSerialLines& operator=(const PosixSerialLines&) = delete;

    // Character devices of the mapped kinds, skipping UARTs the kernel reports as absent. Nothing
    // is opened: on Linux an open raises DTR and RTS.
    std::vector<std::string> portNames() override;
    bool open(std::string_view portName) override;
    void close() override;
    bool isOpen() const override { return fd_ >= 0; }
    bool setDtr(bool on) override;
    bool setRts(bool on) override;
    std::optional<ModemInputs> readInputs() override;

    // The device a port name stands for in this folder; nullopt outside the mapping.
    std::optional<std::string> devicePath(std::string_view portName) const;

private:
    bool setLine(int line, bool on);
    bool uartAbsent(const std::string& deviceName) const;

    std::string devFolder_;
    std::string sysTtyFolder_;
    int fd_ = -1;
};

}  // namespace tintal
