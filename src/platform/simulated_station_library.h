#pragma once
// A Weather Monitor II station that replays scripted figures: for tests, and for the Linux program,
// where the vendor's library does not exist.
#include <optional>
#include <string>
#include <vector>

#include "platform/station_library.h"

namespace tintal {

// One reading of the station, in the station's own units.
struct StationSample {
    double insideF = 68.0;
    double outsideF = 50.0;
    double barometerInHg = 29.92;
    int trend = 0;  // 0 steady, 1 rising, 2 falling; other codes pass through as the station sent them
    double windMph = 5.0;
    int direction = 270;
};

// Script text: one sample per line, "insideF outsideF inHg trend mph degrees", blank lines and lines
// starting with '#' ignored. nullopt (and a message naming the line) when a line is not six numbers.
std::optional<std::vector<StationSample>> parseStationScript(const std::string& text, std::string& error);

class SimulatedStationLibrary : public StationLibrary {
public:
    // Each read (its GetInsideTemp call) takes the next sample; the last one then repeats.
    explicit SimulatedStationLibrary(std::vector<StationSample> script = {StationSample{}});

    std::string unavailableReason() const override { return {}; }
    std::int32_t OpenCommPort(std::int32_t port, std::int32_t baud) override;
    void CloseCommPort() override { open_ = false; }
    double GetDllVersion() override { return version; }
    double GetInsideTemp() override;
    double GetOutsideTemp() override { return open_ ? current().outsideF : kNoStationTemperatureF; }
    double GetBarometer() override { return open_ ? current().barometerInHg : 0.0; }
    std::uint8_t GetBarometerTrend() override { return open_ ? static_cast<std::uint8_t>(current().trend) : 0; }
    double GetWindSpeed() override { return open_ ? current().windMph : 0.0; }
    std::int32_t GetWindDirection() override { return open_ ? current().direction : 0; }

    bool portOpen() const { return open_; }
    // The port that answers (0 = every port from 1 on).
    int answeringPort = 0;
    double version = 5.2;

private:
    const StationSample& current() const { return script_[next_ == 0 ? 0 : next_ - 1]; }

    std::vector<StationSample> script_;
    std::size_t next_ = 0;
    bool open_ = false;
};

}  // namespace tintal
