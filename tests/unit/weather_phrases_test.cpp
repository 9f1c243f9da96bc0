#include <gtest/gtest.h>

#include "fakes/weather_rig.h"

namespace tintal {
namespace {

using Kind = WeatherSourceKind;

TEST(WeatherPhrases, TemperaturesRoundHalfToEvenAndKeepTheirLimits) {
    WeatherRig w(Kind::W23);
    w.source.flags.tempExt = true;
    const struct {
        double value;
        Names clips;
    } cases[] = {
        {-0.4, {"son_temp_ext", "son0", "son_degres"}},
        {-0.6, {"son_temp_ext", "son_moins", "son1", "son_degres"}},
        {2.5, {"son_temp_ext", "son2", "son_degres"}},
        {3.5, {"son_temp_ext", "son4", "son_degres"}},
        {-50.4, {"son_temp_ext", "son_moins", "son50", "son_degres"}},
        {-50.6, {}},
        {60.5, {"son_temp_ext", "son60", "son_degres"}},
        {60.6, {}},
    };
    for (const auto& c : cases) {
        w.source.values.tempExt = c.value;
        EXPECT_EQ(w.announce(), c.clips) << c.value;
    }
}

TEST(WeatherPhrases, PressureAndTrend) {
    WeatherRig w(Kind::W28);
    w.source.flags.pressure = w.source.flags.trend = true;
    w.source.values.pressure = 1013.4;
    w.source.values.pressureTrend = PressureTrend::Falling;
    EXPECT_EQ(w.announce(), (Names{"son_pression_atmos", "son1000", "son13", "son_hectopascal", "son_en_baisse"}));
    w.source.values.pressure = 929.6;
    w.source.values.pressureTrend = PressureTrend::Steady;
    EXPECT_EQ(w.announce(), (Names{"son_pression_atmos", "son900", "son30", "son_hectopascal", "son_stationnaire"}));
    w.source.values.pressure = 1050.6;
    w.source.values.pressureTrend = PressureTrend::Rising;
    EXPECT_EQ(w.announce(), (Names{"son_en_hausse"}));
}

TEST(WeatherPhrases, WindGustAndDirection) {
    WeatherRig w(Kind::PRO2);
    w.source.flags.wind = w.source.flags.gust = w.source.flags.direction = true;
    w.source.values.windSpeed = 0;
    w.source.values.gustSpeed = 12;
    w.source.values.windDirection = 270;
    EXPECT_EQ(w.announce(),
              (Names{"son_vent", "son_nulle", "son_rafale", "son12", "son_kmh", "son_secteur", "son_ouest"}));
    w.source.values.gustSpeed = 4;  // never spoken, and no wind either: no direction
    EXPECT_EQ(w.announce(), (Names{"son_vent", "son_nulle"}));
    w.source.values.gustSpeed = 5;
    w.source.values.windDirection = 90;
    EXPECT_EQ(w.announce(),
              (Names{"son_vent", "son_nulle", "son_rafale", "son5", "son_kmh", "son_secteur", "son_est"}));
    w.source.flags.gust = false;  // wind 0, gust not ticked: no direction
    EXPECT_EQ(w.announce(), (Names{"son_vent", "son_nulle"}));
    // The direction rule sees the wind as its reading left it: exactly 100 km/h counts as no wind.
    w.source.values.windSpeed = 100;
    EXPECT_EQ(w.announce(), (Names{"son_vent", "son100", "son_kmh"}));
    w.source.values.windSpeed = 101;
    EXPECT_EQ(w.announce(), (Names{"son_vent", "son100", "son1", "son_kmh", "son_secteur", "son_est"}));
    w.source.values.windSpeed = 187;
    w.source.values.windDirection = 360;  // unknown
    EXPECT_EQ(w.announce(), (Names{"son_vent", "son100", "son80", "son7", "son_kmh"}));
}

TEST(WeatherPhrases, RainHumidityAndWindChill) {
    WeatherRig w(Kind::W23);
    w.source.flags.rain = w.source.flags.humidityExt = w.source.flags.feelsLike = true;
    w.source.values.rain24h = 198.4;
    w.source.values.humidityExt = 100;
    w.source.values.feelsLike = -12.5;
    EXPECT_EQ(w.announce(),
              (Names{"son_temperature_ressentie", "son_moins", "son12", "son_degres", "son_pluie", "son100", "son80",
                     "son18", "son_millimetre", "son_humidite", "son100", "son_pourcent"}));
    w.source.values.rain24h = 199;
    w.source.values.humidityExt = 0;
    w.source.values.feelsLike = -80;
    EXPECT_EQ(w.announce(), (Names{"son_humidite", "son_nulle"}));
}

TEST(WeatherPhrases, OnlyTheFiguresASourceProvides) {
    WeatherRig w(Kind::PIOUPIOU);
    w.source.flags = allTicked();
    w.source.values.tempInt = w.source.values.tempExt = 20;
    w.source.values.feelsLike = 18;
    w.source.values.pressure = 1000;
    w.source.values.windSpeed = 6.25;
    w.source.values.gustSpeed = 10.25;
    w.source.values.windDirection = 247;
    w.source.values.rain24h = 3;
    w.source.values.humidityExt = 50;
    EXPECT_EQ(w.announce(), (Names{"son_pression_atmos", "son1000", "son_hectopascal", "son_vent", "son6", "son_kmh",
                                   "son_rafale", "son10", "son_kmh", "son_secteur", "son_sud_ouest"}));
}

TEST(WeatherPhrases, ErrorTextOrAgeSkipAllWeather) {
    WeatherRig w(Kind::APRS);
    w.source.flags.tempExt = true;
    w.source.values.tempExt = 10;
    w.source.error = "File error #1";
    EXPECT_TRUE(w.announce().empty());
    w.source.error.clear();
    w.rig.form.MenuAnnonce1h.click();
    w.source.values.observedAt = w.rig.form.clock.fields().now - 61.0 / 1440;
    EXPECT_TRUE(w.announce().empty());
    w.source.values.observedAt = w.rig.loop.localNow() - 60.0 / 1440;
    EXPECT_EQ(w.announce().size(), 3u);
    w.source.values.observedAt = 0;  // never read: always too old
    EXPECT_TRUE(w.announce().empty());
    w.rig.form.MenuAnnonceToujours.click();
    EXPECT_EQ(w.announce().size(), 3u);
}

TEST(WeatherPhrases, TheEffectiveSourceIsTheSelectedConfiguredOne) {
    WeatherRig w(Kind::W23);
    w.source.flags.tempExt = true;
    w.source.values.tempExt = 5;
    w.other.flags.tempExt = true;
    w.other.values.tempExt = 7;
    w.other.values.locator = "other";
    EXPECT_EQ(w.announce(), (Names{"son_temp_ext", "son5", "son_degres"}));
    EXPECT_EQ(w.rig.form.sequencer.effectiveSource, Kind::W23);
    w.source.values.locator.clear();  // the selected source is not configured: no weather
    EXPECT_TRUE(w.announce().empty());
    EXPECT_EQ(w.rig.form.sequencer.effectiveSource, Kind::None);
}

TEST(WeatherPhrases, APostponedReadRunsWhenTheAnnouncementEnds) {
    WeatherRig w(Kind::MON);
    w.source.values.refreshPending = true;
    w.announce();
    EXPECT_EQ(w.source.reads, 1);
    EXPECT_FALSE(w.source.values.refreshPending);
    w.announce();
    EXPECT_EQ(w.source.reads, 1);
    // A station link that failed leaves no effective source; its postponed read must still run,
    // or its timer would stay stopped for good.
    w.source.values.linkOk = false;
    w.source.values.refreshPending = true;
    w.announce();
    EXPECT_EQ(w.rig.form.sequencer.effectiveSource, Kind::None);
    EXPECT_EQ(w.source.reads, 2);
    EXPECT_FALSE(w.source.values.refreshPending);
    // Only the selected source's: another one's mark is not this announcement's business.
    w.other.values.refreshPending = true;
    w.announce();
    EXPECT_EQ(w.other.reads, 0);
}

TEST(WeatherPhrases, TheCompassWordSaysTheDirectionTheRuleAccepted) {
    WeatherRig w(Kind::W23);
    w.source.flags.wind = w.source.flags.direction = true;
    w.source.values.windSpeed = 10;
    w.source.values.windDirection = 90;
    w.rig.player.requests.clear();
    w.rig.form.Button1.click();
    ASSERT_TRUE(w.rig.loop.advanceUntil([&] { return w.rig.player.names().back() == "son_secteur"; }, 60000));
    w.source.values.windDirection = -1;  // a read lands between the two clips
    ASSERT_TRUE(w.rig.loop.advanceUntil([&] { return !w.rig.form.announcing; }, 60000));
    EXPECT_EQ(w.rig.player.names(), (Names{"son_vent", "son10", "son_kmh", "son_secteur", "son_est"}));
}

}  // namespace
}  // namespace tintal
