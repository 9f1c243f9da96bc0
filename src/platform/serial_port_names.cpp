#include "platform/serial_port_names.h"

#include <algorithm>
#include <array>

#include "base/numbers.h"

namespace tintal {

namespace {

constexpr std::string_view kComPrefix = "COM";

struct DeviceKind {
    std::string_view prefix;
    int firstPort;
};
// Fixed blocks, never reordered: a settings file names its port by number.
constexpr std::array<DeviceKind, 4> kDeviceKinds{{
    {"ttyS", 1},
    {"ttyUSB", 1 + kDevicesPerKind},
    {"ttyACM", 1 + 2 * kDevicesPerKind},
    {"ttyAMA", 1 + 3 * kDevicesPerKind},
}};

// Decimal digits without sign or leading zero ("0" itself allowed), within int range.
std::optional<int> plainNumber(std::string_view digits) {
    if (digits.empty() || (digits.size() > 1 && digits.front() == '0')) return std::nullopt;
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) return std::nullopt;
    return strictToInt(digits);
}

}  // namespace

std::optional<int> portNumber(std::string_view name) {
    if (!name.starts_with(kComPrefix)) return std::nullopt;
    // A name that does not read back as itself (COM03, COM+3) is not one the system can open.
    const auto number = plainNumber(name.substr(kComPrefix.size()));
    if (!number || *number <= 0) return std::nullopt;
    return number;
}

std::string portName(int number) { return std::string(kComPrefix) + std::to_string(number); }

std::optional<std::string> deviceForPort(std::string_view name) {
    const auto number = portNumber(name);
    if (!number) return std::nullopt;
    const int block = (*number - 1) / kDevicesPerKind;
    if (block >= static_cast<int>(kDeviceKinds.size())) return std::nullopt;
    const auto& kind = kDeviceKinds[block];
    return std::string(kind.prefix) + std::to_string(*number - kind.firstPort);
}

std::optional<std::string> portForDevice(std::string_view deviceName) {
    for (const auto& kind : kDeviceKinds) {
        if (!deviceName.starts_with(kind.prefix)) continue;
        const auto index = plainNumber(deviceName.substr(kind.prefix.size()));
        if (index && *index < kDevicesPerKind) return portName(kind.firstPort + *index);
    }
    return std::nullopt;
}

}  // namespace tintal
