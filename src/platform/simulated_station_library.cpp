#include "platform/simulated_station_library.h"

#include <sstream>

namespace tintal {

std::optional<std::vector<StationSample>> parseStationScript(const std::string& text, std::string& error) {
    std::vector<StationSample> samples;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        std::istringstream fields(line);
        fields.imbue(std::locale::classic());
        StationSample s;
        std::string rest;
        if (!(fields >> s.insideF >> s.outsideF >> s.barometerInHg >> s.trend >> s.windMph >> s.direction) ||
            (fields >> rest)) {
            error =
                "line " + std::to_string(number) + ": six numbers expected (insideF outsideF inHg trend mph degrees)";
            return std::nullopt;
        }
        samples.push_back(s);
    }
    if (samples.empty()) {
        error = "no sample in the script";
        return std::nullopt;
    }
    return samples;
}

SimulatedStationLibrary::SimulatedStationLibrary(std::vector<StationSample> script) : script_(std::move(script)) {
    if (script_.empty()) script_.push_back(StationSample{});
}

std::int32_t SimulatedStationLibrary::OpenCommPort(std::int32_t port, std::int32_t) {
    open_ = port > 0 && (answeringPort == 0 || port == answeringPort);
    return open_ ? 1 : 0;
}

double SimulatedStationLibrary::GetInsideTemp() {
    // A station that does not answer gives nothing plausible.
    if (!open_) return kNoStationTemperatureF;
    if (next_ < script_.size()) ++next_;
    return current().insideF;
}

}  // namespace tintal
