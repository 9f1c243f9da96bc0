#pragma once
#include <string>

#include "platform/simulated_station_library.h"

namespace tintal {

// No station vendor library exists for Linux: the Weather Monitor II window says so.
class NoStationLibrary : public SimulatedStationLibrary {
public:
    std::string unavailableReason() const override { return "pas de bibliothèque de station sous Linux"; }
};

}  // namespace tintal
