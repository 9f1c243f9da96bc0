// Any bytes may sit in a history file: the decoder must never read outside them nor overflow.
#include <cstddef>
#include <cstdint>
#include <span>

#include "weather/stations/ws2800_history.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    for (auto kind : {tintal::Ws2800Pressure::Absolute, tintal::Ws2800Pressure::Relative}) {
        const auto reading = tintal::decodeWs2800History(bytes, kind, -12.0);
        if (reading && (reading->recordCount != tintal::ws2800RecordCount(bytes) ||
                        reading->trendRecord >= reading->recordCount)) {
            __builtin_trap();
        }
    }
    return 0;
}
