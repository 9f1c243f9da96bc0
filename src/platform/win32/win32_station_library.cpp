#include "platform/win32/win32_station_library.h"

namespace tintal {

Win32StationLibrary::Win32StationLibrary(const std::wstring& dllName) {
    // No error box of the system's own for a missing library: the window reports it.
    const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    module_ = LoadLibraryW(dllName.c_str());
    SetErrorMode(previous);
    if (!module_) {
        reason_ = "Err: weatherlink.dll absente";
        return;
    }
    take(open_, "OpenCommPort");
    take(close_, "CloseCommPort");
    take(version_, "GetDllVersion");
    take(inside_, "GetInsideTemp");
    take(outside_, "GetOutsideTemp");
    take(barometer_, "GetBarometer");
    take(trend_, "GetBarometerTrend");
    take(windSpeed_, "GetWindSpeed");
    take(direction_, "GetWindDirection");
    if (!reason_.empty()) {
        // Half a library is no library: nothing of it is called.
        FreeLibrary(module_);
        module_ = nullptr;
    }
}

Win32StationLibrary::~Win32StationLibrary() {
    if (module_) FreeLibrary(module_);
}

template <typename Fn>
void Win32StationLibrary::take(Fn& fn, const char* name) {
    fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    if (!fn && reason_.empty()) reason_ = std::string("Err: weatherlink.dll sans ") + name;
}

std::int32_t Win32StationLibrary::OpenCommPort(std::int32_t port, std::int32_t baud) {
    return module_ ? open_(port, baud) : 0;
}

void Win32StationLibrary::CloseCommPort() {
    if (module_) close_();
}

double Win32StationLibrary::GetDllVersion() { return module_ ? version_() : 0.0; }
double Win32StationLibrary::GetInsideTemp() { return module_ ? inside_() : kNoStationTemperatureF; }
double Win32StationLibrary::GetOutsideTemp() { return module_ ? outside_() : kNoStationTemperatureF; }
double Win32StationLibrary::GetBarometer() { return module_ ? barometer_() : 0.0; }
std::uint8_t Win32StationLibrary::GetBarometerTrend() { return module_ ? trend_() : 0; }
double Win32StationLibrary::GetWindSpeed() { return module_ ? windSpeed_() : 0.0; }
std::int32_t Win32StationLibrary::GetWindDirection() { return module_ ? direction_() : 0; }

}  // namespace tintal
