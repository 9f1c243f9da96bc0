// A stand-in for the Weather Monitor II vendor library: the nine functions, exported by name with the
// vendor's calling convention, answering on COM3 at 2400 baud with fixed figures. Built twice: whole,
// and without GetWindDirection (TINTAL_STUB_PARTIAL) to stand for a library of another version.
#include <windows.h>

#include <cstdint>

#define STUB_EXPORT extern "C" __declspec(dllexport)

namespace {
bool portOpen = false;
}

STUB_EXPORT std::int32_t WINAPI OpenCommPort(std::int32_t port, std::int32_t baud) {
    portOpen = port == 3 && baud == 2400;
    return portOpen ? 1 : 0;
}
STUB_EXPORT void WINAPI CloseCommPort() { portOpen = false; }
STUB_EXPORT float WINAPI GetDllVersion() { return 2.5f; }
STUB_EXPORT float WINAPI GetInsideTemp() { return portOpen ? 68.0f : -999.0f; }
STUB_EXPORT float WINAPI GetOutsideTemp() { return 32.0f; }
STUB_EXPORT float WINAPI GetBarometer() { return 29.92f; }
STUB_EXPORT std::uint8_t WINAPI GetBarometerTrend() { return 2; }
STUB_EXPORT float WINAPI GetWindSpeed() { return 10.0f; }
#ifndef TINTAL_STUB_PARTIAL
STUB_EXPORT std::int32_t WINAPI GetWindDirection() { return 0x1000 + 225; }
#endif
