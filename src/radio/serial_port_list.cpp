#include "radio/serial_port_list.h"

#include <algorithm>

namespace tintal {

std::vector<std::string> buildPortList(const std::vector<std::string>& reported) {
    std::vector<std::string> ports;
    for (std::string_view name : reported) {
        // Registry string data may carry its terminating NUL.
        if (name.ends_with('\0')) name.remove_suffix(1);
        if (portNumber(name)) ports.emplace_back(name);
    }
    std::sort(ports.begin(), ports.end());
    ports.erase(std::unique(ports.begin(), ports.end()), ports.end());
    ports.insert(ports.begin(), std::string(kNoPort));
    return ports;
}

}  // namespace tintal
