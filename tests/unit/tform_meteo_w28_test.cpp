#include "weather/stations/tform_meteo_w28.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/date_time.h"
#include "base/numbers.h"
#include "fakes/caption_checks.h"
#include "fakes/station_files.h"
#include "fakes/station_window_rig.h"
#include "weather/derived_figures.h"
#include "weather/stations/ws2800_history.h"

namespace tintal {
namespace {

const double kLast = encodeDateTime(2026, 3, 10, 8, 30);
constexpr double kTenMinutes = 1.0 / 144.0;

// A record with the figures these tests start from: the last one of the history, 9 km/h of wind.
struct W28Record : Ws2800FileRecord {
    W28Record() {
        time = kLast;
        wind = 2.5f;
        direction = 10;
        rain = 0.5f;
    }
};

StationBytes history(const std::vector<W28Record>& records) { return ws2800History({records.begin(), records.end()}); }

// Ten-minute records over a day and a bit ending with `last`. The earlier records share one
// absolute (994.0) and one relative (1019.0) pressure, so each kind has its own trend; each
// record brings 0.5 mm of rain.
std::vector<W28Record> day(W28Record last = {}) {
    std::vector<W28Record> records(160);
    for (std::size_t i = 0; i < records.size(); ++i) {
        records[i].time = last.time - static_cast<double>(159 - i) * kTenMinutes;
        records[i].relative = 1019.0f;
    }
    records.back() = last;
    return records;
}

struct W28Rig : StationWindowRig<TFormMeteoW28> {
    W28Rig() : StationWindowRig(encodeDateTime(2026, 3, 10, 9, 0)) {}
    using StationWindowRig::load;
    using StationWindowRig::use;
    // Makes the records the window's file (and reads it); returns its path.
    std::string use(const std::vector<W28Record>& records) { return use("history.dat", history(records)); }
    std::string load(const std::vector<W28Record>& records) { return load("history.dat", history(records)); }
};

TEST(TFormMeteoW28, ReadsTheLatestRecordIntoCaptionsAndReading) {
    W28Rig rig;
    EXPECT_EQ(rig.window.form.caption(), "Meteo WS-2800 / 3610+");
    const std::string path = rig.folder.write("history.dat", history(day()));
    rig.window.SpinEditOffSetPression.setValue(2);
    rig.expectChosen(path, "Fichiers history.dat|*.dat");

    const TFormMeteoW28& w = rig.window;
    const WeatherReading& r = w.reading();
    EXPECT_EQ(w.Editdatemeteo.text(), "10/03/2026 08:30:00");
    EXPECT_DOUBLE_EQ(r.observedAt, kLast);
    EXPECT_NEAR(w.recordInterval, kTenMinutes, 1e-9);
    EXPECT_EQ(w.CheckBoxTint.caption(), "T int.(°C) = 20,5");
    EXPECT_EQ(w.CheckBoxText.caption(), "T ext.(°C) = 3,5");
    EXPECT_EQ(w.CheckBoxPatm.caption(), "P atm.(hPa) = 996,0");  // absolute by default, offset added
    EXPECT_NEAR(r.pressure, 996.0, 1e-9);
    EXPECT_NEAR(r.pressureOffset, 2.0, 1e-9);
    EXPECT_EQ(w.CheckBoxTend.caption(), "tendance : stationnaire");  // the offset is not a change
    EXPECT_EQ(w.CheckBoxVent.caption(), "Vent (km/h) = 9");
    EXPECT_EQ(w.CheckBoxRafa.caption(), "Rafale (km/h) = 14");
    EXPECT_NEAR(r.windSpeed, 9.0, 1e-5);
    EXPECT_NEAR(r.gustSpeed, 14.4, 1e-5);
    EXPECT_EQ(w.CheckBoxDire.caption(), "Direction (°) = 225");
    EXPECT_EQ(r.windDirection, 225);
    EXPECT_EQ(w.LabelHumInt.caption(), "Humi. int (%) = 27");
    EXPECT_EQ(w.CheckBoxHumiExt.caption(), "Humi. ext (%) = 54");
    // The latest record and the 143 younger than a day: 144 half-millimetres.
    EXPECT_EQ(w.CheckBoxPluie.caption(), "Pluie/24h (mm) = 72,0");
    EXPECT_DOUBLE_EQ(r.rain24h, 72.0);
    EXPECT_NEAR(r.feelsLike, windChill(3.5, 9.0), 1e-4);
    EXPECT_EQ(w.CheckBoxTRes.caption(), "T. ressentie (°C) = " + formatFixed(windChill(3.5, 9.0), 1, ','));
    EXPECT_EQ(w.LabelTros.caption(), "T. rosée (°C) = " + formatFixed(dewPoint(3.5, 54.0), 1, ','));
    for (const TickBox* box :
         {&w.CheckBoxTint, &w.CheckBoxText, &w.CheckBoxPatm, &w.CheckBoxVent, &w.CheckBoxRafa, &w.CheckBoxHumiExt})
        EXPECT_EQ(box->colour(), Colour::Black) << box->name();
    EXPECT_TRUE(w.TimerMeteo.enabled());
}

TEST(TFormMeteoW28, PressureButtonsReadAtOnceAndChangeBothValueAndTrendReference) {
    W28Rig rig;
    EXPECT_TRUE(rig.window.RadioButtonPABS.checked());
    EXPECT_FALSE(rig.window.RadioButtonPREL.checked());
    rig.use(day());
    rig.window.SpinEditRafraichir.setValue(3);
    EXPECT_FALSE(rig.window.TimerMeteo.enabled());

    rig.window.RadioButtonPREL.setChecked(true);  // 1018.0 against 1019.0 an hour before
    EXPECT_FALSE(rig.window.RadioButtonPABS.checked());
    EXPECT_EQ(rig.window.CheckBoxPatm.caption(), "P atm.(hPa) = 1018,0");
    EXPECT_EQ(rig.window.reading().pressureTrend, PressureTrend::Falling);
    EXPECT_EQ(rig.window.CheckBoxTend.caption(), "tendance : en baisse");
    EXPECT_TRUE(rig.window.TimerMeteo.enabled());
    EXPECT_EQ(rig.window.TimerMeteo.interval(), 180000);

    rig.window.RadioButtonPABS.setChecked(true);  // 994.0 against 994.0
    EXPECT_EQ(rig.window.CheckBoxPatm.caption(), "P atm.(hPa) = 994,0");
    EXPECT_EQ(rig.window.reading().pressureTrend, PressureTrend::Steady);
    EXPECT_EQ(rig.window.CheckBoxTend.caption(), "tendance : stationnaire");

    // A rising relative pressure beyond the shared threshold, which this window's spin box sets.
    W28Record last;
    last.relative = 1019.6f;
    rig.use(day(last));
    rig.window.SpinEditSeuiltendance.setValue(6);
    EXPECT_DOUBLE_EQ(rig.threshold.value, 0.6);
    rig.window.RadioButtonPREL.setChecked(true);
    EXPECT_EQ(rig.window.reading().pressureTrend, PressureTrend::Steady);  // +0.6 is not above 0.6
    rig.threshold.value = 0.5;
    rig.window.read();
    EXPECT_EQ(rig.window.reading().pressureTrend, PressureTrend::Rising);
}

TEST(TFormMeteoW28, RainWalksBackLessThanADayAndNeverCountsTheFirstRecord) {
    W28Rig rig;
    const auto rec = [](double age, float rain) {
        W28Record r;
        r.time = kLast - age;
        r.rain = rain;
        return r;
    };
    // Exactly one day older stops the walk: neither it nor anything before it counts.
    rig.load({rec(2.0, 100), rec(1.0, 50), rec(1.0 - 1.0 / 1440, 1), rec(0.5, 2), rec(0, 4)});
    EXPECT_DOUBLE_EQ(rig.window.reading().rain24h, 7.0);
    EXPECT_EQ(rig.window.CheckBoxPluie.caption(), "Pluie/24h (mm) = 7,0");

    // Record 0 is left out even when it lies inside the day.
    rig.load({rec(0.5, 100), rec(0.25, 1), rec(0, 4)});
    EXPECT_DOUBLE_EQ(rig.window.reading().rain24h, 5.0);

    // Two records: no interval, so no trend, and the latest record's rain alone.
    W28Record low = rec(kTenMinutes, 8);
    low.absolute = 900.0f;
    rig.load({low, rec(0, 4)});
    EXPECT_DOUBLE_EQ(rig.window.recordInterval, 0.0);
    EXPECT_EQ(rig.window.reading().pressureTrend, PressureTrend::Steady);
    EXPECT_EQ(rig.window.CheckBoxTend.caption(), "tendance : stationnaire");
    EXPECT_DOUBLE_EQ(rig.window.reading().rain24h, 4.0);

    // A negative sum is unknown rain.
    rig.load({rec(0.5, 1), rec(0.25, 1), rec(0, -5)});
    EXPECT_DOUBLE_EQ(rig.window.rainSum, -4.0);
    EXPECT_DOUBLE_EQ(rig.window.reading().rain24h, kNoRain);
    EXPECT_EQ(rig.window.CheckBoxPluie.caption(), "Pluie/24h (mm) = --");
}

TEST(TFormMeteoW28, TheStationsNoGustValueIsNeverAGust) {
    W28Rig rig;
    W28Record last;
    last.gust = 51.0f;  // what the station writes when it measured no gust
    rig.load(day(last));
    EXPECT_DOUBLE_EQ(rig.window.reading().gustSpeed, 0.0);
    EXPECT_FALSE(kGustLimits.contains(rig.window.reading().gustSpeed));  // so never spoken
    EXPECT_EQ(rig.window.CheckBoxRafa.caption(), "Rafale (km/h) = --");
    EXPECT_EQ(rig.window.CheckBoxRafa.colour(), Colour::Red);
    EXPECT_EQ(rig.window.CheckBoxVent.caption(), "Vent (km/h) = 9");  // the mean wind is still good
    EXPECT_EQ(rig.window.StaticTextErreur.caption(), "");

    // A real strong gust just under that value is a figure.
    last.gust = 50.9f;
    rig.load(day(last));
    EXPECT_NEAR(rig.window.reading().gustSpeed, 183.24, 1e-4);
    EXPECT_EQ(rig.window.CheckBoxRafa.caption(), "Rafale (km/h) = 183");
    EXPECT_EQ(rig.window.CheckBoxRafa.colour(), Colour::Black);

    // Above the limits it is red but kept; the wind chill still takes the mean wind.
    last.gust = 56.0f;
    last.wind = 5.0f;
    rig.load(day(last));
    EXPECT_EQ(rig.window.CheckBoxRafa.caption(), "Rafale (km/h) = 202");
    EXPECT_EQ(rig.window.CheckBoxRafa.colour(), Colour::Red);
    EXPECT_NEAR(rig.window.reading().gustSpeed, 201.6, 1e-4);
    EXPECT_NEAR(rig.window.reading().feelsLike, windChill(3.5, 18.0), 1e-4);
}

TEST(TFormMeteoW28, FiguresOutOfLimitsAreRedAndDeriveNothing) {
    W28Rig rig;
    W28Record last;
    last.tempExt = 81.1f;
    last.wind = 56.0f;
    last.humidityExt = 110.0f;
    last.humidityInt = -1.0f;
    last.relative = 1060.0f;
    rig.use(day(last));
    rig.window.RadioButtonPREL.setChecked(true);
    EXPECT_EQ(rig.window.CheckBoxText.colour(), Colour::Red);
    EXPECT_EQ(rig.window.CheckBoxVent.colour(), Colour::Red);
    EXPECT_EQ(rig.window.CheckBoxVent.caption(), "Vent (km/h) = 202");
    EXPECT_EQ(rig.window.CheckBoxHumiExt.colour(), Colour::Red);
    EXPECT_EQ(rig.window.CheckBoxHumiExt.caption(), "Humi. ext (%) = 110");
    EXPECT_EQ(rig.window.LabelHumInt.colour(), Colour::Red);
    EXPECT_EQ(rig.window.CheckBoxPatm.colour(), Colour::Red);
    EXPECT_EQ(rig.window.CheckBoxTint.colour(), Colour::Black);
    EXPECT_EQ(rig.window.reading().feelsLike, kNoFeelsLike);
    EXPECT_EQ(rig.window.CheckBoxTRes.caption(), "T. ressentie (°C) = --");
    EXPECT_EQ(rig.window.LabelTros.caption(), "T. rosée (°C) = --");
    // An invalid pressure leaves the trend of the read before.
    EXPECT_EQ(rig.window.CheckBoxTend.caption(), "Tendance = ");
}

TEST(TFormMeteoW28, MissingFilesRetryAndAMissingChoiceEmptiesTheFigures) {
    W28Rig rig;
    const std::string path = rig.load(day());
    const std::string caption = rig.window.CheckBoxText.caption();
    std::filesystem::remove(path);
    rig.window.read();
    EXPECT_EQ(rig.window.CheckBoxText.caption(), caption);
    EXPECT_EQ(rig.window.StaticTextErreur.caption(), "");
    EXPECT_TRUE(rig.window.TimerMeteo.enabled());
    // It comes back on its own at the next period.
    W28Record later;
    later.time = kLast + kTenMinutes;
    rig.folder.write("history.dat", history(day(later)));
    rig.loop.advance(60000);
    EXPECT_DOUBLE_EQ(rig.window.reading().observedAt, later.time);

    rig.expectMissingChoiceRefused("nothing.dat");
    expectCaptions({shows(rig.window.CheckBoxText, "T ext.(°C) = "),
                    shows(rig.window.CheckBoxHumiExt, "Humi. ext (%) = "),
                    shows(rig.window.CheckBoxPluie, "Pluie/24h (mm) =")});
    // No wind chill of the former file stays beside the emptied figures.
    EXPECT_EQ(rig.window.CheckBoxTRes.caption(), "T.ressentie (°C) = ");
}

TEST(TFormMeteoW28, TheObservationTimeNeverMovesBack) {
    W28Rig rig;
    rig.load(day());
    W28Record older;
    older.time = kLast - 1.0;
    older.tempExt = -2.0f;
    rig.load(day(older));
    EXPECT_DOUBLE_EQ(rig.window.reading().observedAt, kLast);
    EXPECT_EQ(rig.window.Editdatemeteo.text(), "09/03/2026 08:30:00");  // the field shows the file's own time
    EXPECT_EQ(rig.window.CheckBoxText.caption(), "T ext.(°C) = -2,0");
}

// The real history file of a WS-3600 (20 881 one-minute records).
TEST(TFormMeteoW28, ReadsTheRealHistoryFile) {
    W28Rig rig;
    ASSERT_TRUE(rig.loadTestData("lacrosse/ws3600-history.dat", "history.dat"));
    const TFormMeteoW28& w = rig.window;
    EXPECT_EQ(w.StaticTextErreur.caption(), "");
    EXPECT_EQ(w.Editdatemeteo.text(), "02/05/2005 08:30:00");
    expectCaptions({shows(w.CheckBoxText, "T ext.(°C) = 3,8"), shows(w.CheckBoxPatm, "P atm.(hPa) = 994,6"),
                    shows(w.CheckBoxVent, "Vent (km/h) = 10"), shows(w.CheckBoxRafa, "Rafale (km/h) = 14"),
                    shows(w.CheckBoxDire, "Direction (°) = 315"), shows(w.CheckBoxHumiExt, "Humi. ext (%) = 54"),
                    shows(w.CheckBoxPluie, "Pluie/24h (mm) = 0,0")});
    EXPECT_EQ(w.CheckBoxTend.caption(), "tendance : en hausse");  // +0.6 hPa
    rig.window.RadioButtonPREL.setChecked(true);
    EXPECT_EQ(w.CheckBoxPatm.caption(), "P atm.(hPa) = 1018,6");

    // The file as it stood when its newest record was one of those without a gust.
    const std::vector<std::uint8_t> bytes = testDataBytes("lacrosse/ws3600-history.dat");
    std::size_t last = ws2800RecordCount(bytes);
    while (last-- > 0 && ws2800Record(bytes, last).gust != 51.0f) {
    }
    ASSERT_LT(last, ws2800RecordCount(bytes));
    rig.load("cut.dat", {bytes.begin(), bytes.begin() + (last + 1) * kWs2800RecordSize});
    EXPECT_EQ(w.CheckBoxRafa.caption(), "Rafale (km/h) = --");
    EXPECT_DOUBLE_EQ(w.reading().gustSpeed, 0.0);
    EXPECT_EQ(w.StaticTextErreur.caption(), "");
}

}  // namespace
}  // namespace tintal
