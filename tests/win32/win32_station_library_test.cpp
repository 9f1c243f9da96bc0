#include "platform/win32/win32_station_library.h"

#include <gtest/gtest.h>

#include "base/date_time.h"
#include "fakes/caption_checks.h"
#include "platform/virtual_event_loop.h"
#include "weather/stations/tform_meteo.h"

namespace tintal {
namespace {

// The Weather Monitor window over a library, reading COM3.
struct MonitorOn {
    explicit MonitorOn(StationLibrary& library)
        : loop(encodeDateTime(2026, 12, 8, 12, 0)),
          window({loop,
                  desktop,
                  library,
                  [] { return true; },
                  {},
                  [] { return false; },
                  [] {
                      return std::vector<std::string>{"No COM", "COM3"};
                  },
                  {}}) {
        window.FormCreate();
        window.choosePort(3);
    }
    VirtualEventLoop loop;
    FrenchDesktop desktop;
    TFormMeteo window;
};

TEST(Win32StationLibrary, AnAbsentLibraryIsReportedAndNeverCalled) {
    Win32StationLibrary library(L"tintal_no_such_weatherlink.dll");
    EXPECT_EQ(library.unavailableReason(), "Err: weatherlink.dll absente");
    EXPECT_NE(library.OpenCommPort(3, 2400), 1);
    library.CloseCommPort();
    EXPECT_LT(library.GetInsideTemp(), -100.0);

    MonitorOn mon(library);
    EXPECT_FALSE(mon.window.reading().linkOk);
    EXPECT_EQ(mon.window.StaticTextStatus.caption(), "Err: weatherlink.dll absente");
    EXPECT_FALSE(mon.window.TimerMeteo.enabled());
}

TEST(Win32StationLibrary, ALibraryWithoutOneFunctionCountsAsAbsent) {
    Win32StationLibrary library(L"weatherlink_partial.dll");
    EXPECT_EQ(library.unavailableReason(), "Err: weatherlink.dll sans GetWindDirection");
    EXPECT_NE(library.OpenCommPort(3, 2400), 1);
    EXPECT_EQ(library.GetWindDirection(), 0);
}

TEST(Win32StationLibrary, TakesTheNineFunctionsByName) {
    Win32StationLibrary library(L"weatherlink_stub.dll");
    ASSERT_EQ(library.unavailableReason(), "");
    EXPECT_NE(library.OpenCommPort(1, 2400), 1);
    EXPECT_LT(library.GetInsideTemp(), -100.0);  // no station answers on COM1

    MonitorOn mon(library);
    const TFormMeteo& w = mon.window;
    EXPECT_TRUE(w.reading().linkOk);
    expectCaptions({shows(w.LabelVersion, "Version DLL: 2,500"), shows(w.CheckBoxTint, "T int.(°C) = 20,0"),
                    shows(w.CheckBoxText, "T ext.(°C) = 0,0"), shows(w.CheckBoxPatm, "P atm.(hPa) = 1013"),
                    shows(w.CheckBoxtend, "tendance : en baisse"), shows(w.CheckBoxVent, "Vent (km/h) = 16"),
                    shows(w.CheckBoxDire, "Direction (°) = 225"),
                    shows(w.StaticTextStatus, "Lecture Weather Monitor terminée ")});
    mon.window.closePort();
    EXPECT_LT(library.GetInsideTemp(), -100.0);
}

}  // namespace
}  // namespace tintal
