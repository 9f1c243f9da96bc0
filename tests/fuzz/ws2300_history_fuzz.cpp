// Any bytes a history file may hold: the decoder must stay inside the file and keep its own bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "weather/stations/ws2300_history.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    const auto figures = tintal::decodeWs2300History(file, size % 2 ? -12.0 : 7.0);
    if (figures.has_value() != (size >= tintal::kWs2300RecordSize)) std::abort();
    if (figures) {
        if (figures->recordCount != size / tintal::kWs2300RecordSize) std::abort();
        if (figures->windDirection < 0 || figures->windDirection > 698) std::abort();
        if (figures->gustSpeed != 0 && !tintal::kWindLimits.contains(figures->gustSpeed)) std::abort();
        if (figures->pressureChange.has_value() != (figures->recordInterval > 0)) std::abort();
        if (figures->rain24h != tintal::kNoRain && !(figures->rain24h >= 0)) std::abort();
    }
    return 0;
}
