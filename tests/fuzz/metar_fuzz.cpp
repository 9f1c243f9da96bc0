// Any bytes a fetched page or a stored report may hold: extraction, decoding and the exports must stay
// inside the text and keep the figures within their own bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/date_time.h"
#include "weather/web/metar.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tintal;
    if (size < 3) return 0;
    // The first bytes choose the clock (any day of 2000-2027, on the 1st one time in four) and the bias.
    const int day = data[0] % 4 == 0 ? 1 : 1 + data[0] % 28;
    const double now = encodeDateTime(2000 + data[1] % 28, 1 + data[1] / 28 % 12, day, data[0] % 24);
    const int bias = (int(data[2]) - 128) * 15;
    const std::string_view text(reinterpret_cast<const char*>(data + 3), size - 3);

    const MetarPageLine page = extractMetarLine(text, "https://allmetsat.test/?icao=LFPG");
    // An unclosed tag may take the station with it, but no markup survives.
    if (page.error == MetarPageError::None && page.line.find('<') != std::string::npos) std::abort();

    const auto report = metarReportLine(text);
    if (!report) return 0;
    const MetarGroups g = decodeMetarReport(*report, now, bias);
    const MetarFigures f = metarFigures(g, -5.0, data[0] & 1);
    if (f.humidityShown != (f.humidityExt != kMetarNoHumidity)) std::abort();
    if (f.humidityShown && (f.humidityExt < 0 || f.humidityExt > 99)) std::abort();
    if (f.windDirection != kNoDirection && f.windDirection != kVariableDirection &&
        (f.windDirection < 0 || f.windDirection > 360))
        std::abort();
    if (g.time) {
        const DateTimeFields utc = decodeDateTime(g.time->utc);
        if (utc.second != 0 || g.time->timeStampLine.size() != 17) std::abort();
    }
    const std::string ui = metarUiViewFile(g.time ? g.time->timeStampLine : "", metarUiViewLine(g, f));
    const std::string beacon = metarBeaconFile(metarBeaconLine(g, f));
    if (ui.size() < 4 || beacon.size() < 3 || beacon.substr(beacon.size() - 3) != " \r\n") std::abort();
    return 0;
}
