// A fetched page or a weather file may hold any bytes: neither the extractor nor the decoder may read outside
// them, and the figures they give must keep their ranges whatever the units.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "weather/web/aprs.h"

namespace {

void check(bool ok) {
    if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tintal;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const AprsRawLine raw = extractAprsRawLine(bytes);
    check(raw.fetchError == 0 || raw.fetchError == 5 || raw.fetchError == 6 || raw.fetchError == 7);
    check(raw.fetchError != 0 || raw.line.find('_') != std::string::npos);
    check(raw.fetchError != 5 || size == 0);
    check(stripAprsMarkup(bytes).size() <= size);

    AprsReadParameters p;
    p.observedAt = 45000.0;
    p.biasMinutes = -120;
    p.pressureOffset = -5;
    const std::uint8_t selector = size > 0 ? data[0] : 0;
    p.units.speed = static_cast<AprsSpeedUnit>(selector % 3);
    p.units.temperature = selector & 4 ? AprsTemperatureUnit::Celsius : AprsTemperatureUnit::Fahrenheit;
    p.units.rain = selector & 8 ? AprsRainUnit::Millimetre : AprsRainUnit::HundredthInch;
    p.timeBase = selector & 16 ? AprsTimeBase::Utc : AprsTimeBase::Local;
    if (selector & 32) p.fileWriteTime = 45001.0;

    for (const std::string_view doc : {bytes, std::string_view(raw.line)}) {
        const auto r = decodeAprsFile(doc, p);
        if (!r) continue;
        check(r->lineCount >= 1);
        check(r->windDirection == kNoDirection || (r->windDirection >= 0 && r->windDirection <= 359));
        check(r->humidityExt == kAprsNoHumidity || (r->humidityExt >= 1 && r->humidityExt <= 100));  // "h00" is 100 %
        check(std::isfinite(r->tempExt) && std::isfinite(r->feelsLike) && std::isfinite(r->pressure));
        check(std::isfinite(r->windSpeed) && std::isfinite(r->gustSpeed) && std::isfinite(r->rain24h));
        check(!r->dewPoint || std::isfinite(*r->dewPoint));
        check(std::isfinite(r->observedAt));
        check(r->timeFromText || r->observedAt == (p.fileWriteTime ? *p.fileWriteTime : p.observedAt));
        check(!r->beaconLine.empty() && r->beaconLine.back() == ' ');
        check(aprsBeaconFileBytes(r->beaconLine).ends_with("\r\n"));
    }
    return 0;
}
