#pragma once
// The modem-control lines of one serial port: DTR and RTS key the transmitter, CTS, DSR and DCD
// come from the station. No data is ever sent or received.
//
// Responsibilities:
// - Window thread only. One port at a time; calls never block for long.
// - Ports are named "COMn" on every system (Linux maps them to devices, see serial_port_names.h).
//   portNames() returns what the system reports, unfiltered; radio/serial_port_list builds the list
//   a user sees from it.
// - open() first closes a port already open. On success DTR and RTS are low, no flow control or
//   handshake drives them, and the speed and framing are left as the system had them. On failure
//   no port is open.
// - close() lowers DTR and RTS before letting the port go, and does nothing when no port is open;
//   the adapter's destructor closes. Where the system allows, the lines also drop if the program
//   dies with the port open.
// - Line calls report failure (false, nullopt) when no port is open or the device refuses, such as
//   one without modem lines; they never pretend to have worked.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tintal {

// The modem-status inputs, read together in one poll.
struct ModemInputs {
    bool cts = false;  // clear to send
    bool dsr = false;  // data set ready
    bool dcd = false;  // data carrier detect (the receiver's squelch, typically)
    bool operator==(const ModemInputs&) const = default;
};

class SerialLines {
public:
    virtual ~SerialLines() = default;

    virtual std::vector<std::string> portNames() = 0;

    virtual bool open(std::string_view portName) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Raise (true) or lower (false) an output.
    virtual bool setDtr(bool on) = 0;
    virtual bool setRts(bool on) = 0;

    virtual std::optional<ModemInputs> readInputs() = 0;
};

// No serial port on this system: nothing to list and every open fails.
class NullSerialLines : public SerialLines {
public:
    std::vector<std::string> portNames() override { return {}; }
    bool open(std::string_view) override { return false; }
    void close() override {}
    bool isOpen() const override { return false; }
    bool setDtr(bool) override { return false; }
    bool setRts(bool) override { return false; }
    std::optional<ModemInputs> readInputs() override { return std::nullopt; }
};

}  // namespace tintal
