#pragma once
// The Weather Monitor II station vendor's library: nine functions, called one figure at a time.
//
// Contract: window thread only. The library keeps the open port between calls. Get functions may be
// called with no port open or no station answering; what they return then is the library's business,
// and callers rely only on the plausibility of the indoor temperature. When the library (or one of
// its functions) could not be had, unavailableReason() says so, OpenCommPort fails and the Get
// functions return figures no station gives.
#include <cstdint>
#include <string>

namespace tintal {

class StationLibrary {
public:
    virtual ~StationLibrary() = default;

    // Empty when the nine functions are there; otherwise a short French text for the status line.
    virtual std::string unavailableReason() const = 0;

    // 1 = the port is open; anything else is a failure.
    virtual std::int32_t OpenCommPort(std::int32_t port, std::int32_t baud) = 0;
    virtual void CloseCommPort() = 0;
    virtual double GetDllVersion() = 0;
    virtual double GetInsideTemp() = 0;            // °F
    virtual double GetOutsideTemp() = 0;           // °F
    virtual double GetBarometer() = 0;             // inches of mercury
    virtual std::uint8_t GetBarometerTrend() = 0;  // 0 steady, 1 rising, 2 falling
    virtual double GetWindSpeed() = 0;             // mph
    virtual std::int32_t GetWindDirection() = 0;   // degrees
};

// What an absent library answers: no port, and an indoor temperature far below any plausible one.
inline constexpr double kNoStationTemperatureF = -999.0;

}  // namespace tintal
