#pragma once
// Serial port names "COMn" on every system, and the fixed COMn <-> device mapping of Linux.
#include <optional>
#include <string>
#include <string_view>

namespace tintal {

// n of a canonical port name "COMn": "COM", then a number above 0 written without sign or leading zero.
// Anything else ("COM0", "COMX", "COM03", "com3", "COM3 ") is nullopt.
std::optional<int> portNumber(std::string_view portName);
std::string portName(int number);

// Linux: each kind of serial device owns a fixed block of 32 port numbers, so a port keeps its
// number whatever else is plugged in:
//   COM1-COM32   ttyS0-ttyS31      on-board and PCI UARTs
//   COM33-COM64  ttyUSB0-ttyUSB31  USB serial adapters
//   COM65-COM96  ttyACM0-ttyACM31  USB modems (CDC ACM)
//   COM97-COM128 ttyAMA0-ttyAMA31  ARM UARTs (Raspberry Pi)
// Names are device names under /dev, without the folder. Outside those blocks there is no mapping.
inline constexpr int kDevicesPerKind = 32;
std::optional<std::string> deviceForPort(std::string_view portName);
std::optional<std::string> portForDevice(std::string_view deviceName);

}  // namespace tintal
