#include "weather/stations/tform_meteo_w23.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/date_time.h"
#include "fakes/caption_checks.h"
#include "fakes/station_files.h"
#include "fakes/station_window_rig.h"
#include "weather/stations/ws2300_history.h"

namespace tintal {
namespace {

// A record with the figures these tests start from, at `seconds`.
Ws2300FileRecord w23Record(std::uint32_t seconds) {
    Ws2300FileRecord r;
    r.seconds = seconds;
    r.pressure = 1013.2f;
    r.wind = 2.5f;
    r.direction = 12;
    r.rain = 10;
    r.tempInt = 19.5f;
    r.tempExt = 8.25f;
    r.humidityInt = 45;
    r.humidityExt = 77;
    return r;
}

// Records every 10 minutes for a day and a bit, the last one given.
std::vector<Ws2300FileRecord> day(Ws2300FileRecord last) {
    std::vector<Ws2300FileRecord> records;
    for (int i = 0; i < 160; ++i) {
        Ws2300FileRecord r = w23Record(last.seconds - (159 - i) * 600);
        r.rain = 4;
        r.pressure = 1012.0f;
        records.push_back(r);
    }
    records.back() = last;
    return records;
}

struct W23Rig : StationWindowRig<TFormMeteoW23> {
    W23Rig() : StationWindowRig(encodeDateTime(2026, 12, 1, 12, 0)) {}
};

constexpr std::uint32_t kSeconds = 3'900'000'000u;  // 2023-08-03 21:20 once shifted

TEST(TFormMeteoW23, ReadsTheLatestRecordIntoCaptionsAndReading) {
    W23Rig rig;
    Ws2300FileRecord last = w23Record(kSeconds);
    last.rain = 14.5f;
    last.wind = 5.0f;  // 18 km/h
    const std::string path = rig.folder.write("history.dat", ws2300History(day(last)));
    rig.window.SpinEditOffSetPression.setValue(2);
    rig.expectChosen(path, "Fichiers history.dat|*.dat");

    const WeatherReading& r = rig.window.reading();
    expectCaptions(
        {shows(rig.window.CheckBoxTint, "T int.(°C) = 19,5"), shows(rig.window.CheckBoxText, "T ext.(°C) = 8,3"),
         shows(rig.window.CheckBoxPatm, "P atm.(hPa) = 1015,2"), shows(rig.window.CheckBoxVent, "Vent (km/h) = 18"),
         shows(rig.window.CheckBoxDire, "Direction (°) = 270"), shows(rig.window.CheckBoxHumiExt, "Humi. ext (%) = 77"),
         shows(rig.window.CheckBoxPluie, "Pluie/24h (mm) = 10,5"),
         shows(rig.window.CheckBoxTRes, "T. ressentie (°C) = 5,4"),
         shows(rig.window.LabelTros, "T. rosée (°C) = 4,4")});
    EXPECT_EQ(rig.window.CheckBoxTend.caption(), "tendance : en hausse");  // +1.2 hPa over the hour
    EXPECT_NEAR(r.pressure, 1015.2, 1e-4);
    EXPECT_EQ(r.pressureTrend, PressureTrend::Rising);
    EXPECT_NEAR(r.feelsLike, 5.38, 0.01);
    EXPECT_EQ(r.windDirection, 270);
    EXPECT_DOUBLE_EQ(r.observedAt, ws2300ObservationTime(kSeconds));
    EXPECT_TRUE(rig.window.TimerMeteo.enabled());
    EXPECT_EQ(rig.window.Editdatemeteo.text(),
              rig.desktop.shortDate(r.observedAt) + " " + rig.desktop.longTime(r.observedAt));
}

TEST(TFormMeteoW23, FiguresOutOfLimitsAreRedAndDeriveNothing) {
    W23Rig rig;
    Ws2300FileRecord last = w23Record(kSeconds);
    last.tempExt = 81.1f;  // next to the lost-sensor value, but a reading
    last.wind = 60.0f;     // 216 km/h
    last.humidityExt = 0x96;
    rig.load("history.dat", ws2300History(day(last)));
    EXPECT_EQ(rig.window.CheckBoxText.colour(), Colour::Red);
    EXPECT_EQ(rig.window.CheckBoxVent.colour(), Colour::Red);
    EXPECT_EQ(rig.window.CheckBoxHumiExt.colour(), Colour::Red);
    EXPECT_EQ(rig.window.CheckBoxHumiExt.caption(), "Humi. ext (%) = -106");
    EXPECT_EQ(rig.window.CheckBoxTRes.caption(), "T. ressentie (°C) = --");
    EXPECT_EQ(rig.window.reading().feelsLike, kNoFeelsLike);
    EXPECT_EQ(rig.window.LabelTros.caption(), "T. rosée (°C) = --");
    EXPECT_EQ(rig.window.CheckBoxTint.colour(), Colour::Black);
}

TEST(TFormMeteoW23, ALostOutdoorSensorGivesMissingFiguresNotAStorm) {
    W23Rig rig;
    Ws2300FileRecord last = w23Record(kSeconds);
    last.tempExt = 81.11f;
    last.wind = 51.0f;  // 183.6 km/h, inside the spoken range
    last.humidityExt = 110;
    rig.load("history.dat", ws2300History(day(last)));
    const TFormMeteoW23& w = rig.window;
    expectCaptions({shows(w.CheckBoxText, "T ext.(°C) = --"), shows(w.CheckBoxVent, "Vent (km/h) = --"),
                    shows(w.CheckBoxDire, "Direction (°) = --"), shows(w.CheckBoxHumiExt, "Humi. ext (%) = --")});
    for (const TickBox* box : {&w.CheckBoxText, &w.CheckBoxVent, &w.CheckBoxHumiExt})
        EXPECT_EQ(box->colour(), Colour::Black);
    EXPECT_EQ(w.CheckBoxTRes.caption(), "T. ressentie (°C) = --");
    EXPECT_EQ(w.LabelTros.caption(), "T. rosée (°C) = --");
    // Stored out of every spoken range; the gust is that of the earlier records, which had a sensor.
    const WeatherReading& r = w.reading();
    EXPECT_EQ(r.tempExt, -70.0);
    EXPECT_EQ(r.windSpeed, -1.0);
    EXPECT_EQ(r.windDirection, -1);
    EXPECT_EQ(r.humidityExt, -1.0);
    EXPECT_DOUBLE_EQ(r.gustSpeed, 9.0);
    // The indoor figures and the pressure stay.
    EXPECT_EQ(w.CheckBoxTint.caption(), "T int.(°C) = 19,5");
    EXPECT_EQ(w.CheckBoxPatm.caption(), "P atm.(hPa) = 1013,2");
}

// The real history file of a WS-2300, whose last records were written while the outdoor sensor was lost.
TEST(TFormMeteoW23, TheRealFileEndsWithTheSensorLost) {
    W23Rig rig;
    ASSERT_TRUE(rig.loadTestData("lacrosse/ws2300-history.dat", "history.dat"));
    const TFormMeteoW23& w = rig.window;
    expectCaptions({shows(w.StaticTextErreur, ""), shows(w.CheckBoxText, "T ext.(°C) = --"),
                    shows(w.CheckBoxVent, "Vent (km/h) = --"), shows(w.CheckBoxHumiExt, "Humi. ext (%) = --")});
    // The last record as the station software's export lists it: 19,0 °C and 54 % inside; the file keeps
    // the absolute pressure (the export shows it relative, 10 hPa higher).
    EXPECT_EQ(w.CheckBoxPatm.caption(), "P atm.(hPa) = 1007,8");
    EXPECT_EQ(w.CheckBoxTint.caption(), "T int.(°C) = 19,0");
    EXPECT_EQ(w.LabelHumInt.caption(), "Humi. int (%) = 54");
    EXPECT_EQ(w.reading().windSpeed, -1.0);
}

TEST(TFormMeteoW23, ACounterResetGivesNoRain) {
    W23Rig rig;
    Ws2300FileRecord last = w23Record(kSeconds);
    last.rain = 3.5f;  // the earlier records counted 4 mm: the counter went back to zero since
    rig.load("history.dat", ws2300History(day(last)));
    EXPECT_EQ(rig.window.CheckBoxPluie.caption(), "Pluie/24h (mm) = --");
    EXPECT_EQ(rig.window.reading().rain24h, kNoRain);
    EXPECT_EQ(rig.window.StaticTextErreur.caption(), "");
}

TEST(TFormMeteoW23, TrendAndWindChillBoundaries) {
    W23Rig rig;
    Ws2300FileRecord last = w23Record(kSeconds);
    last.pressure = 1012.5f;  // +0.5: exactly the threshold is steady
    last.wind = 5.0f / 3.6f;  // exactly 5 km/h still gives a wind chill
    const std::string path = rig.use("history.dat", ws2300History(day(last)));
    rig.window.SpinEditSeuiltendance.setValue(5);
    EXPECT_DOUBLE_EQ(rig.threshold.value, 0.5);
    rig.window.read();
    EXPECT_EQ(rig.window.reading().pressureTrend, PressureTrend::Steady);
    EXPECT_NE(rig.window.reading().feelsLike, kNoFeelsLike);
    // A threshold set on any of the three windows is the one in force.
    rig.threshold.value = 0.4;
    rig.window.read();
    EXPECT_EQ(rig.window.reading().pressureTrend, PressureTrend::Rising);
    last.wind = 4.9f / 3.6f;
    rig.folder.write("history.dat", ws2300History(day(last)));
    rig.window.read();
    EXPECT_EQ(rig.window.reading().feelsLike, kNoFeelsLike);
}

TEST(TFormMeteoW23, MissingFilesAndCancelledDialogs) {
    W23Rig rig;
    const std::string path = rig.load("history.dat", ws2300History(day(w23Record(kSeconds))));
    const std::string caption = rig.window.CheckBoxText.caption();
    std::filesystem::remove(path);
    rig.window.read();  // nothing read, nothing shown, the timer goes on
    EXPECT_EQ(rig.window.CheckBoxText.caption(), caption);
    EXPECT_EQ(rig.window.StaticTextErreur.caption(), "");
    EXPECT_TRUE(rig.window.TimerMeteo.enabled());

    rig.window.ButtonParcourir.click();  // cancelled: nothing changes
    EXPECT_EQ(rig.window.reading().locator, path);
    rig.expectMissingChoiceRefused("nothing.dat");
    EXPECT_EQ(rig.window.CheckBoxText.caption(), "T ext.(°C) = ");
    EXPECT_EQ(rig.desktop.lastFilter, "Fichiers history.dat|*.dat");
}

TEST(TFormMeteoW23, TheObservationTimeNeverMovesBack) {
    W23Rig rig;
    rig.load("new.dat", ws2300History(day(w23Record(kSeconds))));
    rig.load("old.dat", ws2300History(day(w23Record(kSeconds - 86400))));
    EXPECT_DOUBLE_EQ(rig.window.reading().observedAt, ws2300ObservationTime(kSeconds));
}

TEST(TFormMeteoW23, TheRefreshPeriodSetsTheTimer) {
    W23Rig rig;
    rig.use("history.dat", ws2300History(day(w23Record(kSeconds))));
    rig.window.SpinEditRafraichir.setValue(5);
    EXPECT_EQ(rig.window.TimerMeteo.interval(), 300000);
    EXPECT_FALSE(rig.window.TimerMeteo.enabled());  // the running state is left as it was
    rig.window.ButtonRafraichir.click();
    EXPECT_TRUE(rig.window.TimerMeteo.enabled());
    rig.folder.write("history.dat", ws2300History(day(w23Record(kSeconds + 600))));
    rig.loop.advance(300000);
    EXPECT_DOUBLE_EQ(rig.window.reading().observedAt, ws2300ObservationTime(kSeconds + 600));
}

}  // namespace
}  // namespace tintal
