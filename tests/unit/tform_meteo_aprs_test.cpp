#include "weather/web/tform_meteo_aprs.h"

#include <gtest/gtest.h>

#include "fakes/caption_checks.h"
#include "fakes/web_source_rig.h"
#include "weather/web/favourites_window.h"

namespace tintal {
namespace {

const std::string kTwoLines = "Mar 07 2024 14:30\r\n240/012g020t054r000p010P000h77b10130\r\n";
const std::string kSitePage = "https://aprs.fi/weather/a/F4ABC";
const std::string kPage =
    "<html><body>\n<table>\n<tr><td>Last packet</td><td><span class=\"raw_line\">2024-03-07 14:30:12 CET: "
    "F4ABC&gt;APRS,TCPIP*:@071330z4903.50N/00203.50E_240/012g020t054r000p010P000h77b10130</span></td></tr>\n"
    "</table>\n</body></html>\n";

using AprsRig = WindowRig<TFormMeteoAPRS>;

TEST(TFormMeteoAPRS, ATwoLineFileInTheDesignUnits) {
    AprsRig rig;
    rig.putWork("WXNOW.TXT", kTwoLines);
    rig.window.SpinEditOffSetPression.setValue(-3);
    rig.submit(rig.work.file("WXNOW.TXT"));

    const WeatherReading& r = rig.window.reading();
    EXPECT_EQ(r.locator, rig.work.file("WXNOW.TXT"));
    EXPECT_EQ(r.windDirection, 240);
    EXPECT_NEAR(r.windSpeed, 19.31, 0.01);
    EXPECT_NEAR(r.gustSpeed, 32.19, 0.01);
    EXPECT_NEAR(r.tempExt, 12.22, 0.01);
    EXPECT_NEAR(r.rain24h, 2.54, 1e-9);
    EXPECT_EQ(r.humidityExt, 77);
    EXPECT_DOUBLE_EQ(r.pressure, 1010.0);
    EXPECT_NEAR(r.feelsLike, 10.2, 0.05);
    EXPECT_NEAR(r.dewPoint, 8.3, 0.05);
    EXPECT_DOUBLE_EQ(r.observedAt, encodeDateTime(2024, 3, 7, 14, 30));

    expectCaptions(
        {shows(rig.window.CheckBoxVent, "Vent (km/h) = 19"), shows(rig.window.CheckBoxRafa, "Rafale (km/h) = 32"),
         shows(rig.window.CheckBoxText, "T ext.(°C) = 12,2"), shows(rig.window.CheckBoxPluie, "Pluie/24h (mm) = 2,5"),
         shows(rig.window.CheckBoxHumiExt, "Humi. ext (%) = 77"),
         shows(rig.window.CheckBoxPatm, "P atm.(hPa) = 1010,0"), shows(rig.window.CheckBoxDire, "Direction (°) = 240"),
         shows(rig.window.CheckBoxTRes, "T. ressentie (C°) = 10,2"),
         shows(rig.window.LabelTros, "T. rosée (C°) = 8,3")});
    EXPECT_EQ(rig.window.Editdatemeteo.text(), "Mar 07 2024 14:30");

    // The beacon keeps the packet's own pressure; written in both folders.
    const std::string beacon = " TEMP 12C = QNH 1013hPa = WS 19kmh = WCT 10C = HUM 77 \r\n";
    EXPECT_EQ(rig.workFile("aprs_cw.txt"), beacon);
    EXPECT_EQ(rig.exportFile("aprs_cw.txt"), beacon);
    EXPECT_TRUE(rig.window.TimerMeteo.enabled());
}

TEST(TFormMeteoAPRS, ChangingAUnitConvertsAgainAtOnce) {
    AprsRig rig;
    rig.putWork("WXNOW.TXT", kTwoLines);
    rig.submit(rig.work.file("WXNOW.TXT"));
    rig.window.RadioButtonKM.setChecked(true);
    rig.window.RadioButtondegC.setChecked(true);
    rig.window.RadioButtonMM.setChecked(true);
    expectCaptions({shows(rig.window.CheckBoxVent, "Vent (km/h) = 12"),
                    shows(rig.window.CheckBoxRafa, "Rafale (km/h) = 20"),
                    shows(rig.window.CheckBoxText, "T ext.(°C) = 54,0"),
                    shows(rig.window.CheckBoxPluie, "Pluie/24h (mm) = 10,0")});
    EXPECT_EQ(rig.window.CheckBoxText.colour(), Colour::Black);
    rig.window.RadioButtonKnot.setChecked(true);
    EXPECT_EQ(rig.window.CheckBoxVent.caption(), "Vent (km/h) = 22");
}

TEST(TFormMeteoAPRS, AStationPageOfTheSiteGivesItsRawPacket) {
    AprsRig rig;
    rig.downloader.serve(kSitePage, kPage);
    rig.window.ComboBoxTU.setItemIndex(0);
    rig.submit(kSitePage + " //my station");
    EXPECT_EQ(rig.window.errorText(), "");
    EXPECT_EQ(rig.window.reading().locator, "aprs_web.txt");
    EXPECT_EQ(rig.downloader.downloads.back(), kSitePage);
    EXPECT_TRUE(rig.downloader.purged.empty());
    EXPECT_EQ(rig.window.CheckBoxDire.caption(), "Direction (°) = 240");
    EXPECT_EQ(rig.window.Editdatemeteo.text(), "2024-03-07 14:30:12");
    EXPECT_EQ(rig.window.ComboBoxTU.itemIndex(), 1);  // a packet's time is local
    EXPECT_DOUBLE_EQ(rig.window.reading().observedAt, encodeDateTime(2024, 3, 7, 14, 30));
    EXPECT_EQ(rig.workFile("aprs_web.txt").find('<'), std::string::npos);
}

TEST(TFormMeteoAPRS, PageErrorsAndTheLoginMessage) {
    AprsRig rig;
    rig.submit("https://aprs.fi/nowhere");
    EXPECT_EQ(rig.window.errorText(), "File error #1");
    EXPECT_TRUE(rig.window.TimerMeteo.enabled());

    rig.downloader.serve(kSitePage, "<html><body>Please log in</body></html>\n");
    rig.submit(kSitePage);
    EXPECT_EQ(rig.window.errorText(), "File error #6");
    ASSERT_EQ(rig.desktop.messages.size(), 1u);
    EXPECT_EQ(rig.desktop.messages[0], "SVP vérifiez l'URL ou essayer de vous loguer au site aprs.fi puis Rafraîchir");

    rig.downloader.serve("https://other.example/wx", "<html><body>Please log in</body></html>\n");
    rig.submit("https://other.example/wx");
    EXPECT_EQ(rig.window.errorText(), "File error #6");
    EXPECT_EQ(rig.desktop.messages.size(), 1u);

    rig.downloader.serve("https://other.example/wx", "<p class=raw_line>no weather here</p>\n");
    rig.window.ButtonRafraichir.click();
    EXPECT_EQ(rig.window.errorText(), "File error #7");

    // A path that names no file keeps the last code.
    rig.submit("/no/such/WXNOW.TXT");
    EXPECT_EQ(rig.window.errorText(), "File error #7");
}

TEST(TFormMeteoAPRS, TheLoginButtonOpensTheSiteInTheBrowser) {
    AprsRig rig;
    EXPECT_EQ(rig.window.ButtonLogin.caption(), "Login aprs.fi");
    rig.putWork("aprs_web.txt", "old page");
    rig.window.ButtonLogin.click();
    EXPECT_EQ(rig.desktop.opened, std::vector<std::string>{"https://aprs.fi/?c=login"});
    EXPECT_FALSE(rig.inWork("aprs_web.txt"));
    EXPECT_EQ(rig.window.errorText(), "Login : page ouverte dans le navigateur");
    rig.desktop.shellOpens = false;
    rig.window.ButtonLogin.click();
    EXPECT_EQ(rig.window.errorText(), "Login : pas de navigateur pour https://aprs.fi/?c=login");
    // The next good fetch clears the field.
    rig.downloader.serve(kSitePage, kPage);
    rig.submit(kSitePage);
    EXPECT_EQ(rig.window.errorText(), "");
}

TEST(TFormMeteoAPRS, BrowsingForAFile) {
    AprsRig rig;
    rig.desktop.nextChosenFile = rig.work.file("missing.txt");
    rig.window.ButtonParcourir.click();
    EXPECT_EQ(rig.desktop.lastFilter, "Fichiers WXNOW.TXT|*.txt");
    EXPECT_EQ(rig.window.reading().locator, "");
    EXPECT_EQ(rig.window.EditDat.text(), "");
    EXPECT_EQ(rig.desktop.beeps, 1);

    rig.putWork("WXNOW.TXT", kTwoLines);
    rig.desktop.nextChosenFile = rig.work.file("WXNOW.TXT");
    rig.window.ButtonParcourir.click();
    EXPECT_EQ(rig.window.EditDat.text(), rig.work.file("WXNOW.TXT"));
    EXPECT_EQ(rig.window.ComboBoxPath.items(), std::vector<std::string>{rig.work.file("WXNOW.TXT")});
    EXPECT_EQ(rig.window.CheckBoxHumiExt.caption(), "Humi. ext (%) = 77");
}

TEST(TFormMeteoAPRS, RefreshRestoresTheRememberedHeight) {
    AprsRig rig;
    rig.window.form.show();
    EXPECT_FALSE(rig.desktop.warningBeep);
    Rect tall = rig.window.form.bounds();
    tall.height = 700;
    rig.window.form.setBounds(tall);
    rig.window.ButtonRafraichir.click();
    EXPECT_EQ(rig.window.form.bounds().height, kAprsDesignHeight);
    rig.window.form.hide();
    EXPECT_TRUE(rig.desktop.warningBeep);
}

TEST(TFormMeteoAPRS, RealWeatherFilesDecode) {
    for (const char* name :
         {"wxnow_Philip-Shields.txt", "wxnow_TrimbleSoftware.txt", "wxnow_compuvin.txt", "wxnow_meteoranhados.txt"}) {
        SCOPED_TRACE(name);
        AprsRig rig;
        rig.window.RadioButtondegC.setChecked(false);  // the files are in °F, mph, hundredths of inch
        rig.submit(std::string(TINTAL_TEST_DATA_DIR) + "/aprs/" + name);
        const WeatherReading& r = rig.window.reading();
        EXPECT_EQ(rig.window.errorText(), "");
        EXPECT_TRUE(r.tempExt == -70.0 || kTemperatureLimits.contains(r.tempExt)) << r.tempExt;
        EXPECT_TRUE(r.pressure == 100.0 || (r.pressure > 900 && r.pressure < 1100)) << r.pressure;
        EXPECT_TRUE(r.windSpeed == -1.0 || kWindLimits.contains(r.windSpeed)) << r.windSpeed;
        EXPECT_FALSE(rig.workFile("aprs_cw.txt").empty());
    }
}

TEST(TFormFavAPRS, ALocalFileInASlotIsOpened) {
    AprsRig rig;
    TFormFavAPRS favourites(rig.window);
    rig.putWork("WXNOW.TXT", kTwoLines);
    favourites.Edit10.setText(rig.work.file("WXNOW.TXT"));
    rig.window.form.show();
    favourites.Button10.click();
    EXPECT_EQ(rig.window.reading().locator, rig.work.file("WXNOW.TXT"));
    EXPECT_EQ(rig.window.CheckBoxDire.caption(), "Direction (°) = 240");
    EXPECT_EQ(favourites.form.caption(), "Favoris APRS");
}

}  // namespace
}  // namespace tintal
