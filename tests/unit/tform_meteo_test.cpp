#include "weather/stations/tform_meteo.h"

#include <gtest/gtest.h>

#include "base/date_time.h"
#include "fakes/fake_station_library.h"
#include "platform/virtual_event_loop.h"
#include "weather/tform_choix_meteo.h"

namespace tintal {
namespace {

StationSample sample(double insideF, double outsideF = 50.0, double inHg = 29.92, int trend = 0, double mph = 5.0,
                     int direction = 270) {
    return {insideF, outsideF, inHg, trend, mph, direction};
}

StationSample wind(double kmh) { return sample(68.0, 50.0, 29.92, 0, kmh / 1.609344); }

struct MonRig {
    explicit MonRig(std::vector<StationSample> script = {StationSample{}})
        : loop(encodeDateTime(2026, 12, 8, 14, 0)),
          library(std::move(script)),
          window({loop, desktop, library, [this] { return selected; }, [this] { ++chooserHides; },
                  [this] { return announcing; },
                  [] {
                      return std::vector<std::string>{"No COM", "COM1", "COM3", "COM12"};
                  },
                  [this] { return clock; }}) {
        window.FormCreate();
    }
    // Picks a port in the window's list as the user does.
    void pick(const std::string& entry) {
        window.ButtonPort.click();
        window.ListBoxPort.setItemIndex(window.ListBoxPort.indexOf(entry));
    }
    VirtualEventLoop loop;
    FrenchDesktop desktop;
    FakeStationLibrary library;
    bool selected = true;
    bool announcing = false;
    std::string clock = "14:00:00";
    int chooserHides = 0;
    TFormMeteo window;
};

TEST(TFormMeteo, ConvertsTheStationsUnitsAndChecksTheIndoorTemperature) {
    MonRig rig({sample(32.0, -4.0, 29.92), sample(-76.0), sample(-76.2)});
    rig.pick("COM3");
    const TFormMeteo& w = rig.window;
    EXPECT_EQ(w.CheckBoxTint.caption(), "T int.(°C) = 0,0");
    EXPECT_EQ(w.CheckBoxText.caption(), "T ext.(°C) = -20,0");
    EXPECT_NEAR(w.reading().pressure, 1013.2, 0.05);
    EXPECT_EQ(w.CheckBoxPatm.caption(), "P atm.(hPa) = 1013");
    EXPECT_EQ(w.CheckBoxPatm.colour(), Colour::Black);
    EXPECT_TRUE(w.reading().linkOk);

    rig.window.ButtonRafraichir.click();  // -76 °F is -60.0 °C: still plausible
    EXPECT_DOUBLE_EQ(w.reading().tempInt, -60.0);
    EXPECT_TRUE(w.reading().linkOk);
    EXPECT_EQ(w.CheckBoxTint.caption(), "T int.(°C) = -60,0");
    EXPECT_EQ(w.CheckBoxTint.colour(), Colour::Red);  // shown, but outside the shared limits

    rig.window.ButtonRafraichir.click();  // -76.2 °F: the station did not really answer
    EXPECT_FALSE(w.reading().linkOk);
    EXPECT_EQ(w.StaticTextStatus.caption(), "Anomalie Weather Monitor");
    EXPECT_EQ(w.CheckBoxTint.caption(), "T int.(°C) = -60,0");
    EXPECT_TRUE(w.TimerMeteo.enabled());  // the next period retries
    EXPECT_EQ(w.TimerMeteo.interval(), 60000);
}

TEST(TFormMeteo, AReadCountsDownAndLetsTheWindowBreathe) {
    MonRig rig;
    std::vector<std::string> statuses;
    rig.window.StaticTextStatus.setRenderer([&] { statuses.push_back(rig.window.StaticTextStatus.caption()); });
    std::string seenDuringRead;
    rig.loop.post([&] { seenDuringRead = rig.window.StaticTextStatus.caption(); });
    rig.pick("COM1");
    const std::vector<std::string> expected{
        "Lecture Weather Monitor en cours (6)",        "Lecture Weather Monitor en cours (5)",
        "Lecture Weather Monitor en cours (4)",        "Lecture Weather Monitor en cours (3)",
        "Lecture Weather Monitor en cours (2)",        "Lecture Weather Monitor en cours (1)",
        "Lecture Weather Monitor terminée (14:00:00 )"};
    EXPECT_EQ(statuses, expected);
    EXPECT_EQ(seenDuringRead, "Lecture Weather Monitor en cours (6)");
    EXPECT_EQ(rig.window.LabelVersion.caption(), "Version DLL: 5,200");

    rig.clock.clear();
    rig.window.ButtonRafraichir.click();
    EXPECT_EQ(rig.window.StaticTextStatus.caption(), "Lecture Weather Monitor terminée ");
}

TEST(TFormMeteo, TheGustIsTheHighestOfTheLastTenValidWinds) {
    std::vector<StationSample> script{sample(-100.0)};  // no valid sample yet
    script.push_back(wind(250.0));                      // a fault: red, never a gust
    script.push_back(wind(12.0));
    for (int i = 0; i < 9; ++i) script.push_back(wind(3.0));
    script.push_back(wind(4.0));  // the eleventh valid sample replaces the 12
    MonRig rig(script);
    rig.pick("COM1");
    const TFormMeteo& w = rig.window;
    EXPECT_EQ(w.StaticTextStatus.caption(), "Anomalie Weather Monitor");
    EXPECT_EQ(w.reading().gustSpeed, 0.0);

    rig.window.ButtonRafraichir.click();
    EXPECT_EQ(w.CheckBoxVent.caption(), "Vent (km/h) = 250");
    EXPECT_EQ(w.CheckBoxVent.colour(), Colour::Red);
    EXPECT_EQ(w.reading().gustSpeed, 0.0);
    EXPECT_EQ(w.CheckBoxRafa.caption(), "Rafale (km/h) = 0");

    rig.window.ButtonRafraichir.click();
    EXPECT_EQ(w.CheckBoxVent.colour(), Colour::Black);
    EXPECT_NEAR(w.reading().gustSpeed, 12.0, 1e-9);
    EXPECT_EQ(w.CheckBoxRafa.caption(), "Rafale (km/h) = 12");
    EXPECT_EQ(w.CheckBoxRafa.colour(), Colour::Black);
    for (int i = 0; i < 9; ++i) rig.window.ButtonRafraichir.click();
    EXPECT_NEAR(w.reading().gustSpeed, 12.0, 1e-9);  // still one of the last ten
    rig.window.ButtonRafraichir.click();
    EXPECT_NEAR(w.reading().gustSpeed, 4.0, 1e-9);
    EXPECT_EQ(w.windSamplePosition, 1);
}

TEST(TFormMeteo, TrendCodesAndTheDirectionMask) {
    MonRig rig({sample(68, 50, 29.92, 1, 5, 0x1000 + 90), sample(68, 50, 29.92, 3, 5, 0x8000 + 45),
                sample(68, 50, 29.92, 2, 5, 359)});
    rig.pick("COM1");
    const TFormMeteo& w = rig.window;
    EXPECT_EQ(w.CheckBoxtend.caption(), "tendance : en hausse");
    EXPECT_EQ(w.reading().windDirection, 90);
    EXPECT_EQ(w.CheckBoxDire.caption(), "Direction (°) = 90");
    rig.window.ButtonRafraichir.click();
    EXPECT_EQ(w.CheckBoxtend.caption(), "tendance : en hausse");  // code 3 leaves the caption
    EXPECT_EQ(w.reading().windDirection, 0x8000 + 45);            // the high bit passes the mask
    rig.window.ButtonRafraichir.click();
    EXPECT_EQ(w.CheckBoxtend.caption(), "tendance : en baisse");
    EXPECT_EQ(w.reading().pressureTrend, PressureTrend::Falling);
}

TEST(TFormMeteo, PortSelection) {
    MonRig rig;
    rig.window.form.show();
    rig.window.ButtonPort.click();
    EXPECT_TRUE(rig.window.ListBoxPort.visible());
    EXPECT_EQ(rig.window.ListBoxPort.items().size(), 4u);
    rig.window.ListBoxPort.setItemIndex(3);
    EXPECT_FALSE(rig.window.ListBoxPort.visible());
    EXPECT_EQ(rig.window.comPort, 12);
    EXPECT_EQ(rig.window.ButtonPort.caption(), "COM=12");
    EXPECT_EQ(rig.library.opens.back(), std::make_pair(12, 2400));
    EXPECT_TRUE(rig.window.reading().linkOk);
    EXPECT_TRUE(rig.window.TimerMeteo.enabled());

    rig.library.answeringPort = 12;  // COM1 does not open
    rig.pick("COM1");
    EXPECT_FALSE(rig.window.reading().linkOk);
    EXPECT_EQ(rig.window.StaticTextStatus.caption(), "Erreur port COM");
    EXPECT_FALSE(rig.window.TimerMeteo.enabled());

    const int closes = rig.library.closes;
    rig.pick("No COM");
    EXPECT_EQ(rig.library.closes, closes + 1);
    EXPECT_EQ(rig.window.comPort, 0);
    EXPECT_EQ(rig.window.ButtonPort.caption(), "COM=0");
    EXPECT_FALSE(rig.window.form.visible());
    EXPECT_FALSE(rig.library.portOpen());
    const int reads = rig.library.reads;
    rig.window.ButtonRafraichir.click();  // no port: reads do nothing
    EXPECT_EQ(rig.library.reads, reads);
}

TEST(TFormMeteo, TheChooserReopensTheConfiguredPortAndReads) {
    MonRig rig;
    TFormChoixMeteo chooser;
    chooser.attach(rig.window);
    chooser.RadioButtonMON.setChecked(true);  // no port yet: the window opens for the user to pick one
    EXPECT_TRUE(rig.window.form.visible());
    EXPECT_EQ(rig.chooserHides, 1);
    EXPECT_EQ(rig.library.reads, 0);

    rig.window.comPort = 3;  // as the settings loader leaves it
    rig.window.form.hide();
    chooser.RadioButtonNoMeteo.setChecked(true);
    chooser.RadioButtonMON.setChecked(true);
    EXPECT_FALSE(rig.window.ListBoxPort.visible());  // refilled without showing
    EXPECT_EQ(rig.window.ListBoxPort.selectedItem(), "COM3");
    EXPECT_EQ(rig.library.opens.back(), std::make_pair(3, 2400));
    EXPECT_EQ(rig.library.reads, 1);
    EXPECT_TRUE(rig.window.reading().linkOk);

    rig.window.SpinEditRafraichir.setValue(5);
    EXPECT_EQ(rig.window.refreshMinutes, 5);
    rig.loop.advance(5 * 60000);
    EXPECT_EQ(rig.library.reads, 2);
    chooser.RadioButtonW23.setChecked(true);  // stops the reads, leaves the link as it was
    rig.loop.advance(10 * 60000);
    EXPECT_EQ(rig.library.reads, 2);
    EXPECT_TRUE(rig.window.reading().linkOk);
}

TEST(TFormMeteo, AReadDuringAnAnnouncementWaitsForItsEnd) {
    MonRig rig;
    rig.pick("COM1");
    rig.announcing = true;
    rig.loop.advance(60000);
    EXPECT_EQ(rig.library.reads, 1);
    EXPECT_TRUE(rig.window.reading().refreshPending);
    EXPECT_FALSE(rig.window.TimerMeteo.enabled());
    rig.announcing = false;
    rig.window.runPostponedRead();
    EXPECT_EQ(rig.library.reads, 2);
    EXPECT_FALSE(rig.window.reading().refreshPending);
    EXPECT_TRUE(rig.window.TimerMeteo.enabled());
}

TEST(TFormMeteo, WhatRunsInsideAReadCannotStartAnotherOrKeepItRefreshing) {
    MonRig rig;
    TFormChoixMeteo chooser;
    chooser.attach(rig.window);
    rig.window.comPort = 1;
    // A click on "Rafraichir" handled while the library talks to the station.
    rig.loop.post([&] { rig.window.ButtonRafraichir.click(); });
    chooser.RadioButtonMON.setChecked(true);
    EXPECT_EQ(rig.library.reads, 1);
    EXPECT_TRUE(rig.window.TimerMeteo.enabled());

    // Another source chosen in the middle of a read: the read ends, and no refresh follows.
    rig.loop.post([&] { chooser.RadioButtonW23.setChecked(true); });
    rig.window.ButtonRafraichir.click();
    EXPECT_EQ(rig.library.reads, 2);
    EXPECT_EQ(rig.window.StaticTextStatus.caption(), "Lecture Weather Monitor terminée (14:00:00 )");
    EXPECT_FALSE(rig.window.TimerMeteo.enabled());
    rig.loop.advance(10 * 60000);
    EXPECT_EQ(rig.library.reads, 2);
}

TEST(TFormMeteo, AMissingLibraryIsReportedAndNeverGivesALink) {
    MonRig rig;
    rig.library.missing = "Err: weatherlink.dll absente";
    MonRig fresh;  // created with the library missing
    fresh.library.missing = rig.library.missing;
    fresh.window.FormCreate();
    EXPECT_EQ(fresh.window.StaticTextStatus.caption(), "Err: weatherlink.dll absente");

    rig.pick("COM3");
    EXPECT_EQ(rig.window.comPort, 3);
    EXPECT_FALSE(rig.window.reading().linkOk);
    EXPECT_EQ(rig.window.StaticTextStatus.caption(), "Err: weatherlink.dll absente");
    rig.window.ButtonRafraichir.click();
    EXPECT_EQ(rig.library.reads, 0);
    EXPECT_FALSE(rig.window.reading().linkOk);
    EXPECT_FALSE(rig.window.TimerMeteo.enabled());
}

TEST(TFormMeteo, HourlyLogLineAndWhenItIsWanted) {
    MonRig rig({sample(70.0, 28.4, 30.12, 0, 9.0, 225)});
    rig.window.CheckBoxlog.setChecked(true);
    EXPECT_FALSE(rig.window.hourlyLogWanted());  // no link yet
    rig.pick("COM1");
    EXPECT_TRUE(rig.window.hourlyLogWanted());
    // 21.1 °C, -2.0 °C, 1019.98 hPa, 14.48 km/h, gust the same.
    EXPECT_EQ(rig.window.hourlyLogLine(), "Météo MonII Tint=21 Text=-2 Patm=1020 Vent=14 Rafale=14 Direction=225");
    rig.selected = false;
    EXPECT_FALSE(rig.window.hourlyLogWanted());
    rig.selected = true;
    rig.window.CheckBoxlog.setChecked(false);
    EXPECT_FALSE(rig.window.hourlyLogWanted());
}

TEST(TFormMeteo, OnlyItsSevenFiguresCanBeAnnounced) {
    MonRig rig;
    for (TickBox* box : rig.window.figureBoxes()) box->setChecked(true);
    const AnnounceFlags flags = rig.window.announceFlags();
    EXPECT_TRUE(flags.tempInt && flags.tempExt && flags.pressure && flags.trend && flags.wind && flags.gust &&
                flags.direction);
    EXPECT_FALSE(flags.feelsLike || flags.rain || flags.humidityExt);
    EXPECT_EQ(rig.window.errorText(), "");
}

}  // namespace
}  // namespace tintal
