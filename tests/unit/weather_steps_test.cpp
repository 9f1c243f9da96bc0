// The weather part of an announcement, case by case: each row gives a source, its ticks and figures,
// and the clips it must say, written out as a listener would hear them.
#include <gtest/gtest.h>

#include <functional>

#include "fakes/weather_rig.h"
#include "weather/derived_figures.h"

namespace tintal {
namespace {

using Kind = WeatherSourceKind;
using Setup = std::function<void(WeatherReading&)>;

struct Row {
    const char* what;
    Kind kind;
    AnnounceFlags flags;
    Setup figures;
    Names clips;
};

void check(const std::vector<Row>& rows, const std::function<void(WeatherRig&)>& menus = {}) {
    for (const Row& row : rows) {
        WeatherRig w(row.kind);
        if (menus) menus(w);
        w.source.flags = row.flags;
        row.figures(w.source.values);
        EXPECT_EQ(w.announce(), row.clips) << row.what;
    }
}

AnnounceFlags ticks(std::initializer_list<bool AnnounceFlags::*> boxes) {
    AnnounceFlags flags;
    for (bool AnnounceFlags::*box : boxes) flags.*box = true;
    return flags;
}

// Every figure of a source with plenty to say.
void fullReading(WeatherReading& r) {
    r.tempInt = 21.4;
    r.tempExt = -3.5;  // halves go to the even neighbour: -4
    r.pressure = 1013.4;
    r.pressureTrend = PressureTrend::Rising;
    r.windSpeed = 12;
    r.gustSpeed = 25;
    r.windDirection = 200;
    r.feelsLike = -8.6;
    r.rain24h = 2.5;
    r.humidityExt = 87;
    r.presentWeather = 4 | 1;  // light rain
}

// A reading with one figure set: wind(12) sets the wind speed to 12.
struct FigureSetter {
    double WeatherReading::*field;
    Setup operator()(double value) const {
        return [field = field, value](WeatherReading& r) { r.*field = value; };
    }
};
const FigureSetter wind{&WeatherReading::windSpeed}, gust{&WeatherReading::gustSpeed}, rain{&WeatherReading::rain24h},
    humidity{&WeatherReading::humidityExt}, pressure{&WeatherReading::pressure}, indoor{&WeatherReading::tempInt},
    outdoor{&WeatherReading::tempExt}, chill{&WeatherReading::feelsLike};

// What fullReading says for each figure, as a listener hears it.
const Names kIndoor{"son_temp_int", "son21", "son_degres"};
const Names kOutdoor{"son_temp_ext", "son_moins", "son4", "son_degres"};
const Names kPressure{"son_pression_atmos", "son1000", "son13", "son_hectopascal"};
const Names kRising{"son_en_hausse"};
const Names kWind{"son_vent", "son12", "son_kmh"};
const Names kGust{"son_rafale", "son25", "son_kmh"};
const Names kSouth{"son_secteur", "son_sud"};
const Names kChill{"son_temperature_ressentie", "son_moins", "son9", "son_degres"};
const Names kRain{"son_pluie", "son2", "son_millimetre"};
const Names kLightRainNow{"son_pluie_now", "son_faible"};
const Names kHumidity{"son_humidite", "son80", "son7", "son_pourcent"};

Names said(std::initializer_list<Names> figures) {
    Names all;
    for (const Names& figure : figures) all.insert(all.end(), figure.begin(), figure.end());
    return all;
}

TEST(WeatherSteps, EachSourceSaysTheFiguresItProvides) {
    const AnnounceFlags all = allTicked();
    const Names station = said({kIndoor, kOutdoor, kPressure, kRising, kWind, kGust, kSouth});
    const Names stationFile = said({station, kChill, kRain, kHumidity});
    const Names aprs = said({kOutdoor, kPressure, kWind, kGust, kSouth, kChill, kRain, kHumidity});
    const Names metar = said({kOutdoor, kPressure, kWind, kGust, kSouth, kChill, kLightRainNow, kHumidity});
    check({
        {"MON", Kind::MON, all, fullReading, station},
        {"W23", Kind::W23, all, fullReading, stationFile},
        {"W28", Kind::W28, all, fullReading, stationFile},
        {"PRO2", Kind::PRO2, all, fullReading, stationFile},
        {"APRS", Kind::APRS, all, fullReading, aprs},
        {"METAR", Kind::METAR, all, fullReading, metar},
        {"PIOUPIOU", Kind::PIOUPIOU, all, fullReading, said({kPressure, kWind, kGust, kSouth})},
    });
}

TEST(WeatherSteps, EachBoxSpeaksItsOwnFigureOnly) {
    using F = AnnounceFlags;
    check({
        {"indoor", Kind::W23, ticks({&F::tempInt}), fullReading, kIndoor},
        {"outdoor", Kind::W23, ticks({&F::tempExt}), fullReading, kOutdoor},
        {"pressure", Kind::W23, ticks({&F::pressure}), fullReading, kPressure},
        {"trend", Kind::W23, ticks({&F::trend}), fullReading, kRising},
        {"wind", Kind::W23, ticks({&F::wind}), fullReading, kWind},
        {"gust", Kind::W23, ticks({&F::gust}), fullReading, kGust},
        // Neither wind nor gust taken: nothing blows, so no direction either.
        {"direction", Kind::W23, ticks({&F::direction}), fullReading, {}},
        {"wind chill", Kind::W23, ticks({&F::feelsLike}), fullReading, kChill},
        {"rain", Kind::W23, ticks({&F::rain}), fullReading, kRain},
        {"humidity", Kind::W23, ticks({&F::humidityExt}), fullReading, kHumidity},
        {"METAR precipitation box", Kind::METAR, ticks({&F::rain}), fullReading, kLightRainNow},
        {"nothing ticked", Kind::PRO2, {}, fullReading, {}},
    });
}

TEST(WeatherSteps, TrendWords) {
    using F = AnnounceFlags;
    const auto trend = [](int code) { return [code](WeatherReading& r) { r.pressureTrend = PressureTrend(code); }; };
    check({
        {"steady", Kind::W28, ticks({&F::trend}), trend(0), {"son_stationnaire"}},
        {"rising", Kind::PRO2, ticks({&F::trend}), trend(1), {"son_en_hausse"}},
        {"falling", Kind::MON, ticks({&F::trend}), trend(2), {"son_en_baisse"}},
        {"unknown code", Kind::MON, ticks({&F::trend}), trend(3), {}},
        {"not a trend source", Kind::APRS, ticks({&F::trend}), trend(1), {}},
    });
}

TEST(WeatherSteps, QuantityReadingsAroundTheirLimits) {
    using F = AnnounceFlags;
    const AnnounceFlags w = ticks({&F::wind}), g = ticks({&F::gust}), p = ticks({&F::rain}),
                        h = ticks({&F::humidityExt});
    check({
        {"wind 0", Kind::W23, w, wind(0), {"son_vent", "son_nulle"}},
        {"wind 0.5", Kind::W23, w, wind(0.5), {"son_vent", "son_nulle"}},
        {"wind 61", Kind::W23, w, wind(61), {"son_vent", "son60_court", "son1_et", "son_kmh"}},
        {"wind 71", Kind::W23, w, wind(71), {"son_vent", "son60_court", "son11_et", "son_kmh"}},
        {"wind 80", Kind::W23, w, wind(80), {"son_vent", "son80", "son_kmh"}},
        {"wind 99", Kind::W23, w, wind(99), {"son_vent", "son80", "son19", "son_kmh"}},
        {"wind 100", Kind::W23, w, wind(100), {"son_vent", "son100", "son_kmh"}},
        {"wind 101", Kind::W23, w, wind(101), {"son_vent", "son100", "son1", "son_kmh"}},
        {"wind 161", Kind::W23, w, wind(161), {"son_vent", "son100", "son60_court", "son1_et", "son_kmh"}},
        {"wind 199", Kind::W23, w, wind(199), {"son_vent", "son100", "son80", "son19", "son_kmh"}},
        {"wind 199.5", Kind::W23, w, wind(199.5), {}},
        {"wind 200", Kind::W23, w, wind(200), {}},
        {"wind 250", Kind::W23, w, wind(250), {}},
        {"wind -1", Kind::W23, w, wind(-1), {}},
        {"gust 0", Kind::APRS, g, gust(0), {}},
        {"gust 4", Kind::APRS, g, gust(4), {}},
        {"gust 4.5", Kind::APRS, g, gust(4.5), {}},
        {"gust 5", Kind::APRS, g, gust(5), {"son_rafale", "son5", "son_kmh"}},
        {"gust 99", Kind::APRS, g, gust(99), {"son_rafale", "son80", "son19", "son_kmh"}},
        {"gust 100", Kind::APRS, g, gust(100), {"son_rafale", "son100", "son_kmh"}},
        {"gust 101", Kind::APRS, g, gust(101), {"son_rafale", "son100", "son1", "son_kmh"}},
        {"gust 199", Kind::APRS, g, gust(199), {"son_rafale", "son100", "son80", "son19", "son_kmh"}},
        {"gust 200", Kind::APRS, g, gust(200), {}},
        {"gust 300", Kind::APRS, g, gust(300), {}},
        {"rain 0", Kind::PRO2, p, rain(0), {"son_pluie", "son_nulle"}},
        {"rain 99", Kind::PRO2, p, rain(99), {"son_pluie", "son80", "son19", "son_millimetre"}},
        {"rain 100", Kind::PRO2, p, rain(100), {"son_pluie", "son100", "son_millimetre"}},
        {"rain 101", Kind::PRO2, p, rain(101), {"son_pluie", "son100", "son1", "son_millimetre"}},
        {"rain 180", Kind::PRO2, p, rain(180), {"son_pluie", "son100", "son80", "son_millimetre"}},
        {"rain 198.5", Kind::PRO2, p, rain(198.5), {"son_pluie", "son100", "son80", "son18", "son_millimetre"}},
        {"rain 199", Kind::PRO2, p, rain(199), {}},
        {"rain 200", Kind::PRO2, p, rain(200), {}},
        {"rain unknown", Kind::PRO2, p, rain(-1), {}},
        {"humidity 0", Kind::METAR, h, humidity(0), {"son_humidite", "son_nulle"}},
        {"humidity 99", Kind::METAR, h, humidity(99), {"son_humidite", "son80", "son19", "son_pourcent"}},
        {"humidity 100", Kind::METAR, h, humidity(100), {"son_humidite", "son100", "son_pourcent"}},
        {"humidity 101", Kind::METAR, h, humidity(101), {}},
        {"humidity 200", Kind::METAR, h, humidity(200), {}},
        {"humidity unknown", Kind::METAR, h, humidity(-1), {}},
    });
}

TEST(WeatherSteps, PressureAndTemperaturesAtTheirLimits) {
    using F = AnnounceFlags;
    const AnnounceFlags p = ticks({&F::pressure}), ti = ticks({&F::tempInt}), te = ticks({&F::tempExt}),
                        fl = ticks({&F::feelsLike});
    check({
        {"929.4 hPa", Kind::PIOUPIOU, p, pressure(929.4), {}},
        {"929.5 hPa", Kind::PIOUPIOU, p, pressure(929.5), {"son_pression_atmos", "son900", "son30", "son_hectopascal"}},
        {"930 hPa", Kind::PIOUPIOU, p, pressure(930), {"son_pression_atmos", "son900", "son30", "son_hectopascal"}},
        {"971 hPa",
         Kind::PIOUPIOU,
         p,
         pressure(971),
         {"son_pression_atmos", "son900", "son60_court", "son11_et", "son_hectopascal"}},
        {"980 hPa", Kind::PIOUPIOU, p, pressure(980), {"son_pression_atmos", "son900", "son80", "son_hectopascal"}},
        {"999 hPa",
         Kind::PIOUPIOU,
         p,
         pressure(999),
         {"son_pression_atmos", "son900", "son80", "son19", "son_hectopascal"}},
        {"1000 hPa", Kind::PIOUPIOU, p, pressure(1000), {"son_pression_atmos", "son1000", "son_hectopascal"}},
        {"1050.5 hPa",
         Kind::PIOUPIOU,
         p,
         pressure(1050.5),
         {"son_pression_atmos", "son1000", "son50", "son_hectopascal"}},
        {"1051 hPa", Kind::PIOUPIOU, p, pressure(1051), {}},
        {"indoor -50.5", Kind::MON, ti, indoor(-50.5), {"son_temp_int", "son_moins", "son50", "son_degres"}},
        {"indoor -51", Kind::MON, ti, indoor(-51), {}},
        {"indoor 60.5", Kind::MON, ti, indoor(60.5), {"son_temp_int", "son60", "son_degres"}},
        {"indoor 61", Kind::MON, ti, indoor(61), {}},
        {"outdoor -50.5", Kind::APRS, te, outdoor(-50.5), {"son_temp_ext", "son_moins", "son50", "son_degres"}},
        {"outdoor -50.6", Kind::APRS, te, outdoor(-50.6), {}},
        {"outdoor 0.5", Kind::APRS, te, outdoor(0.5), {"son_temp_ext", "son0", "son_degres"}},
        {"outdoor 60.5", Kind::APRS, te, outdoor(60.5), {"son_temp_ext", "son60", "son_degres"}},
        {"outdoor 60.6", Kind::APRS, te, outdoor(60.6), {}},
        {"wind chill -75.4",
         Kind::METAR,
         fl,
         chill(-75.4),
         {"son_temperature_ressentie", "son_moins", "son60_court", "son15", "son_degres"}},
        {"wind chill -75.5", Kind::METAR, fl, chill(-75.5), {}},  // rounds to -76
        {"wind chill -71",
         Kind::METAR,
         fl,
         chill(-71),
         {"son_temperature_ressentie", "son_moins", "son60_court", "son11_et", "son_degres"}},
        {"wind chill 60.5", Kind::METAR, fl, chill(60.5), {"son_temperature_ressentie", "son60", "son_degres"}},
        {"wind chill 61", Kind::METAR, fl, chill(61), {}},
        {"wind chill unknown", Kind::METAR, fl, chill(-80), {}},
    });
}

TEST(WeatherSteps, DirectionFollowsTheWindAndGustAsSpoken) {
    const AnnounceFlags windAndDirection = ticks({&AnnounceFlags::wind, &AnnounceFlags::direction});
    const AnnounceFlags both = ticks({&AnnounceFlags::wind, &AnnounceFlags::gust, &AnnounceFlags::direction});
    const auto blowing = [](double wind, double gust, int direction) {
        return [=](WeatherReading& r) {
            r.windSpeed = wind;
            r.gustSpeed = gust;
            r.windDirection = direction;
        };
    };
    check({
        {"a faulty 250 km/h says nothing of the wind", Kind::W23, both, blowing(250, 0, 90), {}},
        {"nor does 200", Kind::W23, both, blowing(200, 3, 90), {}},
        {"a METAR gust of 108 kt (200 km/h)", Kind::METAR, both, blowing(0, 200, 90), {"son_vent", "son_nulle"}},
        {"a faulty gust beside a real wind",
         Kind::W23,
         both,
         blowing(12, 300, 90),
         {"son_vent", "son12", "son_kmh", "son_secteur", "son_est"}},
        {"wind 100 counts as no wind",
         Kind::W23,
         windAndDirection,
         blowing(100, 0, 90),
         {"son_vent", "son100", "son_kmh"}},
        {"wind 101 blows",
         Kind::W23,
         windAndDirection,
         blowing(101, 0, 90),
         {"son_vent", "son100", "son1", "son_kmh", "son_secteur", "son_est"}},
        {"wind 199 blows",
         Kind::W23,
         windAndDirection,
         blowing(199, 0, 90),
         {"son_vent", "son100", "son80", "son19", "son_kmh", "son_secteur", "son_est"}},
        {"gust 104 counts as no gust",
         Kind::W23,
         both,
         blowing(0, 104, 90),
         {"son_vent", "son_nulle", "son_rafale", "son100", "son4", "son_kmh"}},
        {"gust 105 blows",
         Kind::W23,
         both,
         blowing(0, 105, 90),
         {"son_vent", "son_nulle", "son_rafale", "son100", "son5", "son_kmh", "son_secteur", "son_est"}},
        {"a gust not ticked does not count",
         Kind::W23,
         windAndDirection,
         blowing(0, 30, 90),
         {"son_vent", "son_nulle"}},
        {"variable wind",
         Kind::METAR,
         windAndDirection,
         blowing(8, 0, 999),
         {"son_vent", "son8", "son_kmh", "son_secteur", "son_variable"}},
        {"unknown direction", Kind::METAR, windAndDirection, blowing(8, 0, -1), {"son_vent", "son8", "son_kmh"}},
        {"360 is not a direction", Kind::W23, windAndDirection, blowing(8, 0, 360), {"son_vent", "son8", "son_kmh"}},
    });
}

TEST(WeatherSteps, BothCompassRosesSectorBySector) {
    const struct {
        int degrees;
        const char* eight;
        const char* sixteen;
    } sectors[] = {
        {0, "son_nord", "son_nord"},
        {11, "son_nord", "son_nord"},
        {12, "son_nord", "son_nord_nord_est"},
        {22, "son_nord", "son_nord_nord_est"},
        {23, "son_nord_est", "son_nord_nord_est"},
        {33, "son_nord_est", "son_nord_nord_est"},
        {34, "son_nord_est", "son_nord_est"},
        {56, "son_nord_est", "son_nord_est"},
        {57, "son_nord_est", "son_est_nord_est"},
        {67, "son_nord_est", "son_est_nord_est"},
        {68, "son_est", "son_est_nord_est"},
        {78, "son_est", "son_est_nord_est"},
        {79, "son_est", "son_est"},
        {101, "son_est", "son_est"},
        {102, "son_est", "son_est_sud_est"},
        {112, "son_est", "son_est_sud_est"},
        {113, "son_sud_est", "son_est_sud_est"},
        {123, "son_sud_est", "son_est_sud_est"},
        {124, "son_sud_est", "son_sud_est"},
        {146, "son_sud_est", "son_sud_est"},
        {147, "son_sud_est", "son_sud_sud_est"},
        {157, "son_sud_est", "son_sud_sud_est"},
        {158, "son_sud", "son_sud_sud_est"},
        {168, "son_sud", "son_sud_sud_est"},
        {169, "son_sud", "son_sud"},
        {191, "son_sud", "son_sud"},
        {192, "son_sud", "son_sud_sud_ouest"},
        {202, "son_sud", "son_sud_sud_ouest"},
        {203, "son_sud_ouest", "son_sud_sud_ouest"},
        {213, "son_sud_ouest", "son_sud_sud_ouest"},
        {214, "son_sud_ouest", "son_sud_ouest"},
        {236, "son_sud_ouest", "son_sud_ouest"},
        {237, "son_sud_ouest", "son_ouest_sud_ouest"},
        {247, "son_sud_ouest", "son_ouest_sud_ouest"},
        {248, "son_ouest", "son_ouest_sud_ouest"},
        {258, "son_ouest", "son_ouest_sud_ouest"},
        {259, "son_ouest", "son_ouest"},
        {281, "son_ouest", "son_ouest"},
        {282, "son_ouest", "son_ouest_nord_ouest"},
        {292, "son_ouest", "son_ouest_nord_ouest"},
        {293, "son_nord_ouest", "son_ouest_nord_ouest"},
        {303, "son_nord_ouest", "son_ouest_nord_ouest"},
        {304, "son_nord_ouest", "son_nord_ouest"},
        {326, "son_nord_ouest", "son_nord_ouest"},
        {327, "son_nord_ouest", "son_nord_nord_ouest"},
        {337, "son_nord_ouest", "son_nord_nord_ouest"},
        {338, "son_nord", "son_nord_nord_ouest"},
        {348, "son_nord", "son_nord_nord_ouest"},
        {349, "son_nord", "son_nord"},
        {359, "son_nord", "son_nord"},
    };
    for (const bool sixteen : {false, true}) {
        WeatherRig w(Kind::W28);
        if (sixteen) w.rig.form.Menu16secteurs.click();
        w.source.flags = ticks({&AnnounceFlags::wind, &AnnounceFlags::direction});
        w.source.values.windSpeed = 20;
        for (const auto& s : sectors) {
            w.source.values.windDirection = s.degrees;
            EXPECT_EQ(w.announce(),
                      (Names{"son_vent", "son20", "son_kmh", "son_secteur", sixteen ? s.sixteen : s.eight}))
                << s.degrees << (sixteen ? " of 16" : " of 8");
        }
    }
}

TEST(WeatherSteps, PresentWeatherCombinations) {
    const auto weather = [](std::uint32_t bits) { return [bits](WeatherReading& r) { r.presentWeather = bits; }; };
    const AnnounceFlags box = ticks({&AnnounceFlags::rain});
    enum : std::uint32_t { Light = 1, Heavy = 2, Rain = 4, Snow = 8, Hail = 16, Mist = 32, Fog = 64 };
    check({
        {"rain", Kind::METAR, box, weather(Rain), {"son_pluie_now", "son_moderee"}},
        {"light rain", Kind::METAR, box, weather(Light | Rain), {"son_pluie_now", "son_faible"}},
        {"heavy rain", Kind::METAR, box, weather(Heavy | Rain), {"son_pluie_now", "son_forte"}},
        {"light before heavy", Kind::METAR, box, weather(Light | Heavy | Rain), {"son_pluie_now", "son_faible"}},
        {"snow", Kind::METAR, box, weather(Snow), {"son_neige", "son_moderee"}},
        {"light snow", Kind::METAR, box, weather(Light | Snow), {"son_neige", "son_faible"}},
        {"heavy snow", Kind::METAR, box, weather(Heavy | Snow), {"son_neige", "son_forte"}},
        {"rain and snow", Kind::METAR, box, weather(Light | Rain | Snow), {"son_pluie_now", "son_faible"}},
        {"hail", Kind::METAR, box, weather(Heavy | Hail), {"son_grele"}},
        {"snow and hail", Kind::METAR, box, weather(Snow | Hail), {"son_neige"}},
        {"mist", Kind::METAR, box, weather(Mist), {"son_brume"}},
        {"fog", Kind::METAR, box, weather(Light | Fog), {"son_brouillard"}},
        {"mist and fog", Kind::METAR, box, weather(Mist | Fog), {"son_brume"}},
        {"rain in mist", Kind::METAR, box, weather(Rain | Mist), {"son_pluie_now"}},
        {"rain with fog", Kind::METAR, box, weather(Rain | Fog), {"son_pluie_now"}},
        {"intensity alone", Kind::METAR, box, weather(Light), {}},
        {"nothing", Kind::METAR, box, weather(0), {}},
        {"box not ticked", Kind::METAR, {}, weather(Rain), {}},
        {"only a METAR has present weather", Kind::APRS, box, weather(Rain), {}},
    });
}

TEST(WeatherSteps, AgeMenusAtAndAroundTheirLimits) {
    const AnnounceFlags box = ticks({&AnnounceFlags::tempExt});
    const Names spoken{"son_temp_ext", "son7", "son_degres"};
    const auto minutesOld = [](double minutes) {
        return [minutes](WeatherReading& r) {
            r.tempExt = 7;
            r.observedAt = kWeatherNow - minutes / 1440;
        };
    };
    const auto menu = [](MenuItem TForm1::*item) { return [item](WeatherRig& w) { (w.rig.form.*item).click(); }; };
    check({{"1 h: 60 min", Kind::W23, box, minutesOld(60), spoken},
           {"1 h: 60.4 min", Kind::W23, box, minutesOld(60.4), spoken},
           {"1 h: 60.5 min", Kind::W23, box, minutesOld(60.5), {}},
           {"1 h: 61 min", Kind::W23, box, minutesOld(61), {}},
           {"1 h: station link, no date", Kind::MON, box, minutesOld(500), spoken},
           {"1 h: never read", Kind::APRS, box, [](WeatherReading& r) { r.tempExt = 7, r.observedAt = 0; }, {}}},
          menu(&TForm1::MenuAnnonce1h));
    check({{"2 h: 120.9 min", Kind::PRO2, box, minutesOld(120.9), spoken},
           {"2 h: 121 min", Kind::PRO2, box, minutesOld(121), {}}},
          menu(&TForm1::MenuAnnonce2h));
    check({{"3 h: 181.4 min", Kind::METAR, box, minutesOld(181.4), spoken},
           {"3 h: 181.5 min", Kind::METAR, box, minutesOld(181.5), {}}},
          menu(&TForm1::MenuAnnonce3h));
    check({{"always: a year old",
            Kind::PIOUPIOU,
            ticks({&AnnounceFlags::pressure}),
            [](WeatherReading& r) { r.pressure = 1000, r.observedAt = kWeatherNow - 365; },
            {"son_pression_atmos", "son1000", "son_hectopascal"}}},
          menu(&TForm1::MenuAnnonceToujours));
}

TEST(WeatherSteps, AnErrorTextSilencesTheWholeWeather) {
    for (const auto& [kind, error] :
         {std::pair{Kind::W23, "Erreur fichier"}, std::pair{Kind::PRO2, "Erreur fichier"},
          std::pair{Kind::METAR, "Erreur fichier #102"}, std::pair{Kind::APRS, "File error #1"},
          std::pair{Kind::PIOUPIOU, "Téléchargement"}}) {
        WeatherRig w(kind);
        w.source.flags = allTicked();
        fullReading(w.source.values);
        w.source.error = error;
        EXPECT_EQ(w.announce(), Names{}) << error;
        w.source.error.clear();
        EXPECT_FALSE(w.announce().empty());
    }
}

// Reference values worked out by hand from the formulas (wind chill: the North-American index,
// dew point: the fixed-exponent approximation), to two decimals.
TEST(DerivedFigures, WindChillAndDewPointAgainstWorkedValues) {
    EXPECT_NEAR(windChill(-5, 20), -11.55, 0.01);
    EXPECT_NEAR(windChill(-20, 40), -34.13, 0.01);
    EXPECT_NEAR(windChill(10, 5), 9.76, 0.01);
    EXPECT_NEAR(windChill(0, 1), 1.75, 0.01);  // 13.12 - 11.37 at V^0.16 = 1
    EXPECT_NEAR(dewPoint(20, 50), 9.21, 0.01);
    EXPECT_NEAR(dewPoint(-5, 80), -7.96, 0.01);
    EXPECT_NEAR(dewPoint(30, 100), 30.0, 1e-9);  // saturated air: the dew point is the temperature
    EXPECT_NEAR(dewPoint(0, 100), 0.0, 1e-9);
}

}  // namespace
}  // namespace tintal
