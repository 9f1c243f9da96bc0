#include "weather/tform_choix_meteo.h"

#include <gtest/gtest.h>

#include "fakes/fake_weather_source.h"

namespace tintal {
namespace {

using Kind = WeatherSourceKind;

struct ChooserRig {
    ChooserRig() {
        for (FakeWeatherSource* s : {&w23, &pro2, &metar}) chooser.attach(*s);
    }
    TFormChoixMeteo chooser;
    FakeWeatherSource w23{Kind::W23}, pro2{Kind::PRO2}, metar{Kind::METAR};
};

TEST(TFormChoixMeteo, CheckingAKindStopsTheOthersAndStartsIt) {
    ChooserRig rig;
    EXPECT_EQ(rig.chooser.checkedKind(), Kind::None);
    rig.chooser.RadioButtonW23.setChecked(true);
    EXPECT_EQ(rig.w23.selections, 1);
    EXPECT_TRUE(rig.w23.shown);
    EXPECT_EQ(rig.pro2.stops, 1);
    EXPECT_EQ(rig.metar.stops, 1);
    EXPECT_EQ(rig.w23.stops, 0);
    rig.chooser.RadioButtonPro2.setChecked(true);
    EXPECT_FALSE(rig.chooser.isChecked(Kind::W23));
    EXPECT_EQ(rig.w23.stops, 1);  // at once
    EXPECT_EQ(rig.pro2.selections, 1);
    rig.chooser.RadioButtonNoMeteo.setChecked(true);  // nothing refreshes any more
    EXPECT_EQ(rig.pro2.stops, 2);
    EXPECT_EQ(rig.w23.stops, 2);
    EXPECT_EQ(rig.metar.stops, 3);
}

TEST(TFormChoixMeteo, WindowsStayHiddenWhileAMinimisedStartLoads) {
    ChooserRig rig;
    bool loadingMinimised = true;
    rig.chooser.windowsSuppressed = [&] { return loadingMinimised; };
    rig.chooser.RadioButtonMETAR.setChecked(true);
    EXPECT_EQ(rig.metar.selections, 1);
    EXPECT_FALSE(rig.metar.shown);
    loadingMinimised = false;
    rig.chooser.RadioButtonW23.setChecked(true);
    EXPECT_TRUE(rig.w23.shown);
}

TEST(TFormChoixMeteo, ShowCentresOnTheMainWindowAndCloseReselects) {
    ChooserRig rig;
    rig.chooser.form.setBounds(Rect{0, 0, 301, 271});
    rig.chooser.RadioButtonW23.setChecked(true);
    rig.chooser.FormShow(Rect{100, 50, 560, 421});
    // top = 50 + round(210.5) - round(135.5) = 50 + 210 - 136; left = 100 + 280 - round(150.5) = 100 + 280 - 150
    EXPECT_EQ(rig.chooser.form.bounds(), (Rect{230, 124, 301, 271}));
    EXPECT_TRUE(rig.chooser.form.visible());
    rig.chooser.form.hide();  // closed without a change: the source starts again
    EXPECT_EQ(rig.w23.selections, 2);

    rig.chooser.FormShow(Rect{100, 50, 560, 421});
    rig.chooser.RadioButtonPro2.setChecked(true);
    rig.chooser.form.hide();  // a new choice was applied when clicked: nothing more
    EXPECT_EQ(rig.pro2.selections, 1);
    EXPECT_EQ(rig.w23.selections, 2);
}

}  // namespace
}  // namespace tintal
