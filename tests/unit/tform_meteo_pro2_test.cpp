#include "weather/stations/tform_meteo_pro2.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>

#include "base/date_time.h"
#include "base/numbers.h"
#include "fakes/caption_checks.h"
#include "fakes/station_files.h"
#include "fakes/station_window_rig.h"
#include "weather/derived_figures.h"

namespace tintal {
namespace {

// An archive record with the figures these tests start from: a 5-minute data record at 10:00,
// 5.0 °C outside, 21.1 °C inside, 1013.1 hPa, wind 10 mph, gust 20 mph, one click of 0.2 mm.
struct Pro2Record : WlkFileRecord {
    Pro2Record() {
        tempOut = 410;
        humOut = 875;
        clicks = 1;
        collector = 0x20;
        wind = 100;
        gust = 200;
        direction = 15;
    }
};

Pro2Record withBarometer(std::uint16_t raw) {
    Pro2Record r;
    r.barometer = raw;
    return r;
}

Pro2Record summary() {
    Pro2Record r;
    r.type = 2;
    r.clicks = 50;
    r.barometer = 1;
    return r;
}

class Archive {
public:
    // Days 1 to `lastDay` of the month have records.
    explicit Archive(int lastDay = 14) { file_.days(1, lastDay, 288); }
    Archive& add(const Pro2Record& r, int times = 1) {
        file_.add(r, times);
        return *this;
    }
    // `count` data records whose barometer climbs by one thousandth of inHg per record from `start`.
    Archive& climbing(int count, std::uint16_t start, std::uint8_t interval = 5) {
        for (int i = 0; i < count; ++i) {
            Pro2Record r;
            r.interval = interval;
            r.barometer = static_cast<std::uint16_t>(start + i);
            add(r);
        }
        return *this;
    }
    StationBytes bytes() const { return file_.bytes(); }

private:
    WlkFile file_;
};

// One latest record after a few plain ones.
std::vector<std::uint8_t> latest(const Pro2Record& last, int lastDay = 14) {
    return Archive(lastDay).add(Pro2Record{}, 19).add(last).bytes();
}

// Some regional formats write a midnight date-time without its time.
class MidnightlessDesktop : public FrenchDesktop {
public:
    std::string longTime(double dateTime) const override {
        const DateTimeFields f = decodeDateTime(dateTime);
        return f.hour == 0 && f.minute == 0 && f.second == 0 ? "" : FrenchDesktop::longTime(dateTime);
    }
};

struct Pro2Rig : StationWindowRig<TFormMeteoPro2, MidnightlessDesktop> {
    explicit Pro2Rig(double now = encodeDateTime(2024, 3, 20, 12, 0)) : StationWindowRig(now) {}
};

TEST(TFormMeteoPro2, ReadsTheLatestDataRecordIntoCaptionsAndReading) {
    Pro2Rig rig;
    EXPECT_EQ(rig.window.form.caption(), "Meteo Vantage Pro2");
    EXPECT_TRUE(rig.window.CheckBoxFichier.checked());
    // A daily summary after the latest data record is passed over.
    const std::string path = rig.folder.write("2024-03.wlk", Archive().add(Pro2Record{}, 20).add(summary()).bytes());
    rig.window.SpinEditOffSetPression.setValue(3);
    rig.expectChosen(path, "Fichier weatherlink wlk|*.wlk");

    const TFormMeteoPro2& w = rig.window;
    const WeatherReading& r = w.reading();
    EXPECT_EQ(w.month, (WlkMonth{2024, 3}));
    EXPECT_EQ(w.recordCount, 21);
    EXPECT_EQ(w.Editdatemeteo.text(), "14/03/2024 10:00:00");
    EXPECT_DOUBLE_EQ(r.observedAt, encodeDateTime(2024, 3, 14, 10, 0));
    EXPECT_EQ(w.CheckBoxText.caption(), "T ext.(°C) = 5,0");
    EXPECT_EQ(w.CheckBoxTint.caption(), "T int.(°C) = 21,1");
    EXPECT_EQ(w.CheckBoxPatm.caption(), "P atm.(hPa) = 1016,1");  // 1013.07 + 3
    EXPECT_NEAR(r.pressure, 29.921 * 33.8582 + 3, 1e-9);
    EXPECT_EQ(w.CheckBoxTend.caption(), "tendance : stationnaire");
    EXPECT_EQ(w.CheckBoxVent.caption(), "Vent (km/h) = 16");
    EXPECT_EQ(w.CheckBoxRafa.caption(), "Rafale (km/h) = 32");
    EXPECT_NEAR(r.gustSpeed, 32.18688, 1e-9);
    EXPECT_EQ(w.CheckBoxDire.caption(), "Direction (°) = 338");  // 337.5, half to even
    EXPECT_EQ(r.windDirection, 338);
    EXPECT_EQ(w.LabelHumInt.caption(), "Humi. int (%) = 40");
    EXPECT_EQ(w.CheckBoxHumiExt.caption(), "Humi. ext (%) = 88");
    EXPECT_DOUBLE_EQ(r.humidityExt, 87.5);
    EXPECT_EQ(w.CheckBoxPluie.caption(), "Pluie/24h (mm) = 4,0");  // 20 clicks; the summary's never count
    EXPECT_NEAR(r.rain24h, 4.0, 1e-9);
    // The gust is this station's wind for the wind chill.
    EXPECT_NEAR(r.feelsLike, windChill(5.0, r.gustSpeed), 1e-9);
    EXPECT_EQ(w.CheckBoxTRes.caption(), "T. ressentie (°C) = " + formatFixed(windChill(5.0, r.gustSpeed), 1, ','));
    EXPECT_EQ(w.LabelTros.caption(), "T. rosée (°C) = " + formatFixed(dewPoint(5.0, 87.5), 1, ','));
    EXPECT_TRUE(w.TimerMeteo.enabled());
}

TEST(TFormMeteoPro2, AMissingFileLeavesTheTimerStopped) {
    Pro2Rig rig;
    EXPECT_EQ(rig.window.reading().locator, "");
    rig.window.read();  // nothing configured: nothing to wait for
    EXPECT_FALSE(rig.window.TimerMeteo.enabled());

    const std::string path = rig.use("2024-03.wlk", latest(Pro2Record{}));
    rig.window.ButtonRafraichir.click();
    EXPECT_TRUE(rig.window.TimerMeteo.enabled());
    const std::string caption = rig.window.CheckBoxText.caption();
    std::filesystem::remove(path);
    rig.loop.advance(60000);
    EXPECT_FALSE(rig.window.TimerMeteo.enabled());
    EXPECT_EQ(rig.window.CheckBoxText.caption(), caption);
    EXPECT_EQ(rig.window.StaticTextErreur.caption(), "");
    EXPECT_EQ(rig.desktop.beeps, 0);

    // The file coming back is not noticed until the user refreshes.
    Pro2Record warmer;
    warmer.tempOut = 500;  // 10.0 °C
    rig.folder.write("2024-03.wlk", latest(warmer));
    rig.loop.advance(600000);
    EXPECT_EQ(rig.window.CheckBoxText.caption(), caption);
    rig.window.ButtonRafraichir.click();
    EXPECT_EQ(rig.window.CheckBoxText.caption(), "T ext.(°C) = 10,0");
    EXPECT_TRUE(rig.window.TimerMeteo.enabled());
}

TEST(TFormMeteoPro2, AGoodReadClearsAnEarlierError) {
    Pro2Rig rig;
    const std::string path = rig.use("2024-03.wlk", latest(Pro2Record{}));
    const std::vector<std::vector<std::uint8_t>> bad = {
        std::vector<std::uint8_t>(100, 0),        // shorter than the header
        Archive().add(summary(), 5).bytes(),      // no data record
        Archive(0).add(Pro2Record{}, 3).bytes(),  // no day has records: day 0
    };
    for (const auto& bytes : bad) {
        rig.folder.write("2024-03.wlk", bytes);
        const int beeps = rig.desktop.beeps;
        rig.window.read();
        EXPECT_EQ(rig.window.StaticTextErreur.caption(), "Erreur fichier");
        EXPECT_EQ(rig.desktop.beeps, beeps + 1);
        EXPECT_TRUE(rig.window.TimerMeteo.enabled());

        rig.folder.write("2024-03.wlk", latest(Pro2Record{}));
        rig.loop.advance(60000);  // the timer's own read
        EXPECT_EQ(rig.window.StaticTextErreur.caption(), "");
    }
    // More records announced than the file holds.
    std::vector<std::uint8_t> truncated = latest(Pro2Record{});
    truncated.resize(truncated.size() - 1);
    rig.folder.write("2024-03.wlk", truncated);
    rig.window.read();
    EXPECT_EQ(rig.window.StaticTextErreur.caption(), "Erreur fichier");
    EXPECT_EQ(rig.window.reading().locator, path);
}

TEST(TFormMeteoPro2, NamesWithoutALowerCaseExtensionOrAMonthAreRefused) {
    for (bool followUp : {true, false}) {
        for (const char* name : {"2024-03.WLK", "mars-03.wlk", "2024-xx.wlk", "2024_03.wlk"}) {
            Pro2Rig rig;
            rig.window.CheckBoxFichier.setChecked(followUp);
            rig.use(name, latest(Pro2Record{}));
            rig.window.read();
            EXPECT_EQ(rig.window.StaticTextErreur.caption(), "Erreur fichier") << name << followUp;
            EXPECT_EQ(rig.desktop.beeps, 1) << name;
            EXPECT_TRUE(rig.window.TimerMeteo.enabled()) << name << followUp;
            EXPECT_EQ(rig.window.CheckBoxText.caption(), "T.ext (°C) =") << name;
        }
    }
}

TEST(TFormMeteoPro2, FollowsUpToTheCurrentMonthsFileOnceItExists) {
    Pro2Rig rig;
    const std::string march = rig.load("2024-03.wlk", latest(Pro2Record{}, 31));
    EXPECT_EQ(rig.window.Editdatemeteo.text(), "31/03/2024 10:00:00");

    rig.loop.setLocalNow(encodeDateTime(2024, 4, 1, 0, 10));
    rig.window.read();  // no April file yet: March goes on
    EXPECT_EQ(rig.window.reading().locator, march);
    EXPECT_EQ(rig.window.month, (WlkMonth{2024, 3}));

    Pro2Record april;
    april.minutes = 5;
    april.tempOut = 302;  // 30.2 °F: -1.0 °C
    const std::string aprilPath = rig.folder.write("2024-04.wlk", latest(april, 1));
    rig.window.read();
    EXPECT_EQ(rig.window.reading().locator, aprilPath);
    EXPECT_EQ(rig.window.EditDat.text(), aprilPath);
    EXPECT_EQ(rig.window.month, (WlkMonth{2024, 4}));
    EXPECT_EQ(rig.window.Editdatemeteo.text(), "01/04/2024 00:05:00");
    EXPECT_EQ(rig.window.CheckBoxText.caption(), "T ext.(°C) = -1,0");

    // Unticked, the window stays with its file.
    rig.window.CheckBoxFichier.setChecked(false);
    rig.loop.setLocalNow(encodeDateTime(2024, 5, 2, 9, 0));
    rig.folder.write("2024-05.wlk", latest(Pro2Record{}, 2));
    rig.window.read();
    EXPECT_EQ(rig.window.reading().locator, aprilPath);
}

TEST(TFormMeteoPro2, FollowUpCrossesTheYearAndWaitsForANewFileToFill) {
    Pro2Rig rig(encodeDateTime(2024, 12, 31, 23, 0));
    rig.load("2024-12.wlk", latest(Pro2Record{}, 31));
    rig.loop.setLocalNow(encodeDateTime(2025, 1, 1, 0, 1));
    // The station software has just created the new month's file, header not yet written.
    const std::string january = rig.folder.write("2025-01.wlk", {});
    rig.window.read();
    EXPECT_EQ(rig.window.reading().locator, january);
    EXPECT_EQ(rig.window.StaticTextErreur.caption(), "Erreur fichier");
    EXPECT_TRUE(rig.window.TimerMeteo.enabled());
    rig.folder.write("2025-01.wlk", latest(Pro2Record{}, 1));
    rig.loop.advance(60000);
    EXPECT_EQ(rig.window.StaticTextErreur.caption(), "");
    EXPECT_EQ(rig.window.Editdatemeteo.text(), "01/01/2025 10:00:00");
}

TEST(TFormMeteoPro2, TrendComparesAnHourBackAndSaysSteadyWhenItCannot) {
    Pro2Rig rig;
    // 5-minute records: the one twelve places back is 12 thousandths lower, 0.406 hPa.
    rig.load("2024-03.wlk", Archive().climbing(300, 29000).bytes());
    EXPECT_EQ(rig.window.reading().pressureTrend, PressureTrend::Rising);
    EXPECT_EQ(rig.window.CheckBoxTend.caption(), "tendance : en hausse");
    rig.threshold.value = 0.41;  // and not thirteen places back (0.440 hPa)
    rig.window.read();
    EXPECT_EQ(rig.window.reading().pressureTrend, PressureTrend::Steady);
    rig.threshold.value = 0.4;

    const auto afterRising = [&rig](const std::vector<std::uint8_t>& bytes) {
        rig.folder.write("2024-03.wlk", Archive().climbing(300, 29000).bytes());
        rig.window.read();
        EXPECT_EQ(rig.window.CheckBoxTend.caption(), "tendance : en hausse");
        rig.folder.write("2024-03.wlk", bytes);
        rig.window.read();
        EXPECT_EQ(rig.window.StaticTextErreur.caption(), "");
    };
    // Under an hour of records.
    afterRising(Archive().climbing(13, 29000).bytes());
    EXPECT_EQ(rig.window.reading().pressureTrend, PressureTrend::Steady);
    EXPECT_EQ(rig.window.CheckBoxTend.caption(), "tendance : stationnaire");
    // An interval of 0.
    afterRising(Archive().climbing(300, 29000, 0).bytes());
    EXPECT_EQ(rig.window.CheckBoxTend.caption(), "tendance : stationnaire");
    // Only summaries at and before the look-back point: Steady, and the caption says so too.
    afterRising(Archive().add(summary(), 3).add(Pro2Record{}, 12).bytes());
    EXPECT_EQ(rig.window.reading().pressureTrend, PressureTrend::Steady);
    EXPECT_EQ(rig.window.CheckBoxTend.caption(), "tendance : stationnaire");
    // A jump of 50 hPa or more is a fault, not a trend.
    afterRising(Archive().climbing(20, 29000).add(withBarometer(30500)).bytes());
    EXPECT_EQ(rig.window.CheckBoxTend.caption(), "tendance : stationnaire");
    // An invalid pressure leaves the trend of the read before.
    afterRising(Archive().climbing(20, 29000).add(withBarometer(25000)).bytes());
    EXPECT_EQ(rig.window.CheckBoxPatm.colour(), Colour::Red);
    EXPECT_EQ(rig.window.reading().pressureTrend, PressureTrend::Rising);
    EXPECT_EQ(rig.window.CheckBoxTend.caption(), "tendance : en hausse");
}

TEST(TFormMeteoPro2, RainCoversADayOfDataRecordsLessOne) {
    Pro2Rig rig;
    rig.load("2024-03.wlk", Archive().add(Pro2Record{}, 400).bytes());
    EXPECT_EQ(rig.window.CheckBoxPluie.caption(), "Pluie/24h (mm) = 57,4");  // 287 clicks of 0.2 mm
    // Summaries between them count neither as records nor as rain.
    Archive mixed;
    for (int i = 0; i < 6; ++i) mixed.add(Pro2Record{}, 50).add(summary(), 2);
    rig.folder.write("2024-03.wlk", mixed.bytes());
    rig.window.read();
    EXPECT_EQ(rig.window.CheckBoxPluie.caption(), "Pluie/24h (mm) = 57,4");
    // With an interval of 0 only the latest record counts.
    Pro2Record noInterval;
    noInterval.interval = 0;
    noInterval.clicks = 3;
    rig.folder.write("2024-03.wlk", Archive().add(noInterval, 50).bytes());
    rig.window.read();
    EXPECT_EQ(rig.window.CheckBoxPluie.caption(), "Pluie/24h (mm) = 0,6");
    // The latest record's collector is unknown.
    Pro2Record unknown;
    unknown.collector = 0x40;
    rig.folder.write("2024-03.wlk", latest(unknown));
    rig.window.read();
    EXPECT_DOUBLE_EQ(rig.window.reading().rain24h, kNoRain);
    EXPECT_EQ(rig.window.CheckBoxPluie.caption(), "Pluie/24h (mm) = --");
}

TEST(TFormMeteoPro2, WindChillTakesTheGustWhenWindAndGustAreValid) {
    Pro2Rig rig;
    const auto feelsLike = [&rig](std::uint16_t wind, std::uint16_t gust) {
        Pro2Record r;
        r.wind = wind;
        r.gust = gust;
        rig.load("2024-03.wlk", latest(r));
        return rig.window.reading().feelsLike;
    };
    EXPECT_NEAR(feelsLike(0, 32), windChill(5.0, 3.2 * 1.609344), 1e-9);  // 5.15 km/h, even in a calm
    EXPECT_EQ(feelsLike(100, 31), kNoFeelsLike);                          // 4.99 km/h
    EXPECT_EQ(rig.window.CheckBoxTRes.caption(), "T. ressentie (°C) = --");
    EXPECT_EQ(feelsLike(0xFFFF, 200), kNoFeelsLike);  // the wind caption is red
    EXPECT_EQ(rig.window.CheckBoxVent.colour(), Colour::Red);
    // A gust out of its limits gives no chill either, though the wind is good.
    EXPECT_EQ(feelsLike(100, 0xFFFF), kNoFeelsLike);
    EXPECT_EQ(rig.window.CheckBoxRafa.colour(), Colour::Red);
    EXPECT_EQ(rig.window.CheckBoxRafa.caption(), "Rafale (km/h) = 10547");
}

TEST(TFormMeteoPro2, ConversionsAndOutOfLimitFigures) {
    Pro2Rig rig;
    Pro2Record r;
    r.tempOut = 212;  // 21.2 °F
    r.tempIn = 320;
    r.direction = 255;
    r.humOut = 1001;
    r.humIn = 0;
    r.barometer = 29921;
    rig.load("2024-03.wlk", latest(r));
    const TFormMeteoPro2& w = rig.window;
    expectCaptions({shows(w.CheckBoxText, "T ext.(°C) = -6,0"), shows(w.CheckBoxTint, "T int.(°C) = 0,0"),
                    shows(w.CheckBoxPatm, "P atm.(hPa) = 1013,1"), shows(w.CheckBoxDire, "Direction (°) = --")});
    EXPECT_EQ(w.reading().windDirection, kNoDirection);
    EXPECT_EQ(w.CheckBoxHumiExt.caption(), "Humi. ext (%) = 100");
    EXPECT_EQ(w.CheckBoxHumiExt.colour(), Colour::Red);  // 100.1
    EXPECT_EQ(w.LabelHumInt.colour(), Colour::Black);
    EXPECT_EQ(w.LabelTros.caption(), "T. rosée (°C) = --");

    r.tempOut = 0xFFF6;  // -1.0 °F, read unsigned
    rig.folder.write("2024-03.wlk", latest(r));
    rig.window.read();
    EXPECT_EQ(w.CheckBoxText.colour(), Colour::Red);
    EXPECT_EQ(w.reading().feelsLike, kNoFeelsLike);
}

TEST(TFormMeteoPro2, MidnightAndEarlierFiles) {
    Pro2Rig rig;
    Pro2Record midnight;
    midnight.minutes = 1440;  // the end of day 14
    rig.load("2024-03.wlk", latest(midnight));
    EXPECT_DOUBLE_EQ(rig.window.reading().observedAt, encodeDateTime(2024, 3, 15));
    // This desktop writes midnight without its time: the field still shows one.
    EXPECT_EQ(rig.window.Editdatemeteo.text(), "15/03/2024 00:00");

    // With the follow-up ticked, a past month's file chosen gives way to the current month's at once.
    const std::string march = rig.window.reading().locator;
    const std::string february = rig.folder.write("2024-02.wlk", latest(Pro2Record{}, 29));
    rig.choose(february);
    EXPECT_EQ(rig.window.reading().locator, march);
    EXPECT_EQ(rig.window.EditDat.text(), march);

    // Unticked, the older archive is read, and the observation moves back.
    rig.window.CheckBoxFichier.setChecked(false);
    rig.choose(february);
    EXPECT_EQ(rig.window.reading().locator, february);
    EXPECT_DOUBLE_EQ(rig.window.reading().observedAt, encodeDateTime(2024, 2, 29, 10, 0));
    EXPECT_EQ(rig.window.Editdatemeteo.text(), "29/02/2024 10:00:00");
}

TEST(TFormMeteoPro2, ChoosingAMissingFileEmptiesTheFigures) {
    Pro2Rig rig;
    rig.load("2024-03.wlk", latest(Pro2Record{}));
    rig.expectMissingChoiceRefused("2024-01.wlk");
    expectCaptions({shows(rig.window.CheckBoxPatm, "P atm.(hPa) = "),
                    shows(rig.window.CheckBoxRafa, "Rafale (km/h) = "),
                    shows(rig.window.CheckBoxPluie, "Pluie/24h (mm) =")});
    // The timer's next read finds nothing to read and stops.
    rig.loop.advance(60000);
    EXPECT_FALSE(rig.window.TimerMeteo.enabled());
}

// The real one-minute archives of February and August 2012.
TEST(TFormMeteoPro2, ReadsAndFollowsUpRealArchives) {
    Pro2Rig rig(encodeDateTime(2012, 3, 1, 0, 30));
    ASSERT_TRUE(copyTestData("wlk/2012-08.wlk", rig.folder.file("2012-08.wlk")));
    // No March file: February's last record, ending at 24:00 on the 29th.
    ASSERT_TRUE(rig.loadTestData("wlk/2012-02.wlk", "2012-02.wlk"));
    const TFormMeteoPro2& w = rig.window;
    EXPECT_EQ(w.StaticTextErreur.caption(), "");
    EXPECT_EQ(w.recordCount, 41818);
    EXPECT_EQ(w.Editdatemeteo.text(), "01/03/2012 00:00");
    expectCaptions({shows(w.CheckBoxText, "T ext.(°C) = 5,4"), shows(w.CheckBoxTint, "T int.(°C) = 20,3"),
                    shows(w.CheckBoxDire, "Direction (°) = 225"), shows(w.CheckBoxHumiExt, "Humi. ext (%) = 84"),
                    shows(w.CheckBoxPluie, "Pluie/24h (mm) = 0,0")});
    EXPECT_EQ(w.CheckBoxTend.caption(), "tendance : en hausse");  // +0.88 hPa

    rig.loop.setLocalNow(encodeDateTime(2012, 8, 20, 9, 0));
    rig.window.read();
    EXPECT_EQ(w.reading().locator, rig.folder.file("2012-08.wlk"));
    EXPECT_EQ(w.Editdatemeteo.text(), "01/09/2012 00:00");
    expectCaptions({shows(w.CheckBoxText, "T ext.(°C) = 14,4"), shows(w.CheckBoxDire, "Direction (°) = 270"),
                    shows(w.CheckBoxPluie, "Pluie/24h (mm) = 51,2"), shows(w.StaticTextErreur, "")});
}

}  // namespace
}  // namespace tintal
