// Which box chooses which spoken figure, in every source window, and how the windows caption a figure.
#include <gtest/gtest.h>

#include <cmath>

#include "base/date_time.h"
#include "fakes/fake_station_library.h"
#include "fakes/station_window_rig.h"
#include "fakes/web_source_rig.h"
#include "platform/virtual_event_loop.h"
#include "weather/figure_format.h"
#include "weather/stations/tform_meteo.h"
#include "weather/stations/tform_meteo_pro2.h"
#include "weather/stations/tform_meteo_w23.h"
#include "weather/stations/tform_meteo_w28.h"
#include "weather/web/page_lines.h"
#include "weather/web/tform_meteo_aprs.h"
#include "weather/web/tform_meteo_metar.h"
#include "weather/web/tform_meteo_piu.h"

namespace tintal {
namespace {

using F = AnnounceFlags;

struct BoxFlag {
    TickBox* box;
    bool AnnounceFlags::*flag;
};

// Ticks each box alone: exactly its own figure is to be spoken, and nothing once it is unticked.
void expectEachBoxTicksItsFlag(const WeatherSource& window, const std::vector<BoxFlag>& mapping) {
    for (const auto& [box, flag] : mapping) {
        AnnounceFlags expected;
        expected.*flag = true;
        box->setChecked(true);
        EXPECT_EQ(window.announceFlags(), expected) << box->name();
        box->setChecked(false);
        EXPECT_EQ(window.announceFlags(), AnnounceFlags{}) << box->name();
    }
    EXPECT_EQ(window.figureBoxes().size(), mapping.size());
}

// The boxes every source window has.
std::vector<BoxFlag> everyWindowsBoxes(SourceWindow& w) {
    return {{&w.CheckBoxText, &F::tempExt},
            {&w.CheckBoxPatm, &F::pressure},
            {&w.CheckBoxVent, &F::wind},
            {&w.CheckBoxRafa, &F::gust},
            {&w.CheckBoxDire, &F::direction}};
}

// The file-fed and web windows add the wind chill, the rain and the humidity.
template <typename Window>
std::vector<BoxFlag> fileAndWebBoxes(Window& w) {
    std::vector<BoxFlag> boxes = everyWindowsBoxes(w);
    boxes.insert(
        boxes.end(),
        {{&w.CheckBoxTRes, &F::feelsLike}, {&w.CheckBoxPluie, &F::rain}, {&w.CheckBoxHumiExt, &F::humidityExt}});
    return boxes;
}

template <typename Window>
void expectStationFileWindowFlags() {
    StationWindowRig<Window> rig(encodeDateTime(2024, 3, 20, 12, 0));
    Window& window = rig.window;
    std::vector<BoxFlag> boxes = fileAndWebBoxes(window);
    boxes.insert(boxes.end(), {{&window.CheckBoxTint, &F::tempInt}, {&window.CheckBoxTend, &F::trend}});
    expectEachBoxTicksItsFlag(window, boxes);
}

TEST(SpokenFigures, StationFileWindowsTickAllTenFigures) {
    expectStationFileWindowFlags<TFormMeteoW23>();
    expectStationFileWindowFlags<TFormMeteoW28>();
    expectStationFileWindowFlags<TFormMeteoPro2>();
}

TEST(SpokenFigures, TheStationLinkTicksSevenFigures) {
    VirtualEventLoop loop(encodeDateTime(2024, 3, 20, 12, 0));
    FrenchDesktop desktop;
    FakeStationLibrary library({StationSample{}});
    TFormMeteo window({loop, desktop, library, [] { return true; }, {}, {}, {}, {}});
    std::vector<BoxFlag> boxes = everyWindowsBoxes(window);
    boxes.insert(boxes.end(), {{&window.CheckBoxTint, &F::tempInt}, {&window.CheckBoxtend, &F::trend}});
    expectEachBoxTicksItsFlag(window, boxes);
    // The hourly log box is no figure.
    window.CheckBoxlog.setChecked(true);
    EXPECT_EQ(window.announceFlags(), AnnounceFlags{});
}

template <typename Window>
void expectWebWindowFlags() {
    WindowRig<Window> rig;
    expectEachBoxTicksItsFlag(rig.window, fileAndWebBoxes(rig.window));
}

TEST(SpokenFigures, WebWindowsTickEightFigures) {
    expectWebWindowFlags<TFormMeteoMETAR>();
    expectWebWindowFlags<TFormMeteoAPRS>();
    expectWebWindowFlags<TFormMeteoPIU>();
}

TEST(FigureFormat, CaptionsWithTheirDecimalsOrDashes) {
    EXPECT_EQ(figureCaption(kTempExtFigure, -3.25, ','), "T ext.(°C) = -3,3");
    EXPECT_EQ(figureCaption(kPressureFigure, 1013.25, '.'), "P atm.(hPa) = 1013.3");
    EXPECT_EQ(figureCaption(kWindFigure, 12.5, ','), "Vent (km/h) = 13");
    EXPECT_EQ(figureCaption(kHumidityExtFigure, 77, ','), "Humi. ext (%) = 77");
    EXPECT_EQ(figureCaption(kRainFigure, std::nullopt, ','), "Pluie/24h (mm) = --");
    EXPECT_EQ(figureCaption(kDewPointFigure, std::nullopt, ','), "T. rosée (C°) = --");
}

TEST(FigureFormat, ShowingAFigureStoresItAndColoursItByItsLimits) {
    WeatherReading reading;
    TickBox box("CheckBoxRafa", "Rafale (km/h) =");
    showFigure(box, kGustFigure, 199.0, reading, ',');
    EXPECT_EQ(reading.gustSpeed, 199.0);
    EXPECT_EQ(box.caption(), "Rafale (km/h) = 199");
    EXPECT_EQ(box.colour(), Colour::Black);
    showFigure(box, kGustFigure, 199.5, reading, ',');
    EXPECT_EQ(box.colour(), Colour::Red);
    showFigure(box, kGustFigure, 0.0, reading, ',');
    EXPECT_EQ(box.colour(), Colour::Black);

    // A humidity the station could not measure is as red as one out of range.
    Label humidity("LabelHumInt");
    for (const double invalid : {-1.0, 101.0, std::nan("")}) {
        showFigure(humidity, kHumidityIntFigure, invalid, reading, ',');
        EXPECT_EQ(humidity.colour(), Colour::Red) << invalid;
    }
    showFigure(humidity, kHumidityIntFigure, 100.0, reading, ',');
    EXPECT_EQ(humidity.colour(), Colour::Black);
    EXPECT_EQ(reading.humidityInt, 100.0);
}

TEST(PageLines, EveryLineEndCountsOnce) {
    using Lines = std::vector<std::string_view>;
    EXPECT_EQ(splitLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\n"), (Lines{"a"}));
    EXPECT_EQ(splitLines("a\n\r\nb"), (Lines{"a", "", "b"}));
    EXPECT_EQ(splitLines("\r\r"), (Lines{"", ""}));
    EXPECT_EQ(splitLines(""), Lines{});
}

}  // namespace
}  // namespace tintal
