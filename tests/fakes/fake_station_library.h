#pragma once
// The scripted station, plus a record of how the program drove the library.
#include <utility>
#include <vector>

#include "platform/simulated_station_library.h"

namespace tintal {

class FakeStationLibrary : public SimulatedStationLibrary {
public:
    using SimulatedStationLibrary::SimulatedStationLibrary;

    std::string unavailableReason() const override { return missing; }
    std::int32_t OpenCommPort(std::int32_t port, std::int32_t baud) override {
        opens.emplace_back(port, baud);
        if (!missing.empty()) return 0;
        return SimulatedStationLibrary::OpenCommPort(port, baud);
    }
    void CloseCommPort() override {
        ++closes;
        SimulatedStationLibrary::CloseCommPort();
    }
    double GetInsideTemp() override {
        ++reads;
        if (!missing.empty()) return kNoStationTemperatureF;
        return SimulatedStationLibrary::GetInsideTemp();
    }

    std::string missing;  // set: the library could not be loaded
    std::vector<std::pair<int, int>> opens;
    int closes = 0;
    int reads = 0;  // GetInsideTemp calls: one per read that reached the station
};

}  // namespace tintal
