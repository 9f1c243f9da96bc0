// Any bytes a fetched answer or the working file may hold: extraction and the line reading must stay
// inside the text, and every figure must be a value or its marker.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/date_time.h"
#include "weather/web/pioupiou.h"

namespace {

using namespace tintal;

void check(const PioupiouFigures& f) {
    if (f.windSpeed.present && !f.windSpeed.shown && f.windSpeed.value != kPioupiouNoWind) std::abort();
    if (f.gustSpeed.present && !f.gustSpeed.shown && f.gustSpeed.value != kPioupiouNoGust) std::abort();
    if (f.windMin.present && !f.windMin.shown && f.windMin.value != kPioupiouNoWindMin) std::abort();
    if (f.pressure.present && !f.pressure.shown && f.pressure.value != kPioupiouNoPressure) std::abort();
    if (f.windDirection.present && f.windDirection.value != kNoDirection &&
        (f.windDirection.value < 0 || f.windDirection.value > 360))
        std::abort();
    if (f.observedAt && decodeDateTime(f.observedAt->utc).second != 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    // The first bytes choose the clock (any day of 2000-2027, on the 1st one time in four) and the bias.
    const int day = data[0] % 4 == 0 ? 1 : 1 + data[0] % 28;
    const double now = encodeDateTime(2000 + data[1] % 28, 1 + data[1] / 28 % 12, day, data[0] % 24);
    const int bias = (int(data[2]) - 128) * 15;
    const std::string_view text(reinterpret_cast<const char*>(data + 3), size - 3);

    // The text also serves as the address, for the label's cut.
    const PioupiouReadParams params{text.substr(0, 40), -3.0, now, bias};
    if (const auto raw = decodePioupiouLines(text, params)) check(*raw);

    const PioupiouPageLines page = extractPioupiouLines(text);
    if (page.error != PioupiouPageError::None) {
        if (!page.file.empty()) std::abort();
        return 0;
    }
    if (page.file.size() < 2 || page.file.substr(page.file.size() - 2) != "\r\n") std::abort();
    const auto kept = decodePioupiouLines(page.file, params);
    if (!kept) std::abort();
    check(*kept);
    return 0;
}
