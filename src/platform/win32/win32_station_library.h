#pragma once
#include <windows.h>

#include <string>

#include "platform/station_library.h"

namespace tintal {

// The vendor's weatherlink.dll, loaded once and taken function by function by name. A missing
// library or function leaves every call harmless: the port never opens and no figure is plausible.
class Win32StationLibrary : public StationLibrary {
public:
    explicit Win32StationLibrary(const std::wstring& dllName = L"weatherlink.dll");
    ~Win32StationLibrary() override;
    Win32StationLibrary(const Win32StationLibrary&) = delete;
    Win32StationLibrary& operator=(const Win32StationLibrary&) = delete;

    std::string unavailableReason() const override { return reason_; }
    std::int32_t OpenCommPort(std::int32_t port, std::int32_t baud) override;
    void CloseCommPort() override;
    double GetDllVersion() override;
    double GetInsideTemp() override;
    double GetOutsideTemp() override;
    double GetBarometer() override;
    std::uint8_t GetBarometerTrend() override;
    double GetWindSpeed() override;
    std::int32_t GetWindDirection() override;

private:
    // The library's own calling convention: stdcall in the 32-bit build (ignored in the 64-bit one).
    // Its floating results come back in the FPU register in 32 bits, whatever their width.
    using OpenFn = std::int32_t(WINAPI*)(std::int32_t, std::int32_t);
    using VoidFn = void(WINAPI*)();
    using RealFn = float(WINAPI*)();
    using ByteFn = std::uint8_t(WINAPI*)();
    using IntFn = std::int32_t(WINAPI*)();

    template <typename Fn>
    void take(Fn& fn, const char* name);

    HMODULE module_ = nullptr;
    std::string reason_;
    OpenFn open_ = nullptr;
    VoidFn close_ = nullptr;
    RealFn version_ = nullptr, inside_ = nullptr, outside_ = nullptr, barometer_ = nullptr, windSpeed_ = nullptr;
    ByteFn trend_ = nullptr;
    IntFn direction_ = nullptr;
};

}  // namespace tintal
