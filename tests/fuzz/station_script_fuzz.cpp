// Any text given as a simulated station's script: parsed or refused with a reason, never more.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/simulated_station_library.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string error;
    const auto script = tintal::parseStationScript(std::string(reinterpret_cast<const char*>(data), size), error);
    if (!script && error.empty()) std::abort();
    if (script && script->empty()) std::abort();
    if (script) {
        tintal::SimulatedStationLibrary station(*script);
        if (station.OpenCommPort(1, 2400) != 1) std::abort();
        for (std::size_t i = 0; i <= script->size(); ++i) station.GetInsideTemp();
    }
    return 0;
}
