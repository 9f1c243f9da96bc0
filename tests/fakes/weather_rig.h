#pragma once
// A main window that says only the weather of one fake source, selected and configured, whose
// figures all start out of range so that a test sets just the ones it speaks about.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_weather_source.h"
#include "fakes/main_window_rig.h"

namespace tintal {

using Names = std::vector<std::string>;

inline const double kWeatherNow = encodeDateTime(2026, 12, 1, 15, 30);

// A clock with every time box off, so that an announcement says only its weather.
struct WeatherRig {
    explicit WeatherRig(WeatherSourceKind kind)
        : source(kind),
          other(kind == WeatherSourceKind::W23 ? WeatherSourceKind::METAR : WeatherSourceKind::W23),
          rig(kWeatherNow, 1000, {&other, &source}) {
        rig.start();
        for (TickBox* box :
             {&rig.form.CheckBoxTintal, &rig.form.CheckBoxDate, &rig.form.CheckBoxIlEst, &rig.form.CheckBoxheure}) {
            box->setChecked(false);
        }
        source.isSelected = true;
        source.values.locator = kind == WeatherSourceKind::MON ? "" : "source";
        source.values.linkOk = true;
        source.values.observedAt = kWeatherNow;
        source.values.pressure = 0;  // out of range unless a test sets it
        source.values.windSpeed = -1;
        source.values.gustSpeed = 0;
        source.values.windDirection = -1;
        source.values.rain24h = -1;
        source.values.humidityExt = -1;
        source.values.tempInt = source.values.tempExt = -70;
        source.values.feelsLike = -80;
    }
    Names announce() {
        rig.player.requests.clear();
        EXPECT_TRUE(rig.announceNow());
        return rig.player.names();
    }
    FakeWeatherSource source, other;
    MainWindowRig rig;
};

}  // namespace tintal
