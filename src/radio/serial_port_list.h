#pragma once
// The list of serial ports a user chooses from.
#include <string>
#include <string_view>
#include <vector>

#include "platform/serial_port_names.h"

namespace tintal {

// The first entry of every port list: no port, nothing keyed.
inline constexpr std::string_view kNoPort = "No COM";

// From the names the system reports (a trailing NUL tolerated), the list shown to the user: "No COM",
// then each valid port once, in alphabetical order ("COM1", "COM10", "COM2").
std::vector<std::string> buildPortList(const std::vector<std::string>& reported);

}  // namespace tintal
