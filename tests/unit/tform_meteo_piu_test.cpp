#include "weather/web/tform_meteo_piu.h"

#include <gtest/gtest.h>

#include "fakes/caption_checks.h"
#include "fakes/web_source_rig.h"
#include "weather/web/favourites_window.h"

namespace tintal {
namespace {

const std::string kAddress = "https://api.pioupiou.example/v1/live/110";

std::string answer(const std::string& measurements, const std::string& name = "\"name\": \"Pioupiou 110\"") {
    return "{\n  \"data\": {\n    \"id\": 110,\n    \"meta\": {\n      " + name +
           "\n    },\n    \"measurements\": {\n" + measurements +
           "    },\n    \"status\": {\n      \"state\": \"on\"\n    }\n  }\n}\n";
}

const std::string kMeasurements =
    "      \"date\": \"2024-03-07T14:30:12.000Z\",\n      \"pressure\": null,\n      \"wind_heading\": 247.5,\n"
    "      \"wind_speed_avg\": 6.25,\n      \"wind_speed_max\": 10.25,\n      \"wind_speed_min\": 3\n";

using PiuRig = WindowRig<TFormMeteoPIU>;

TEST(TFormMeteoPIU, TheMeasurementsOfTheBeacon) {
    PiuRig rig;
    rig.desktop.biasMinutes = -60;
    rig.downloader.serve(kAddress, answer(kMeasurements));
    rig.submit(kAddress);
    const WeatherReading& r = rig.window.reading();
    EXPECT_EQ(rig.window.errorText(), "");
    EXPECT_EQ(r.locator, "PIU_web.txt");
    EXPECT_DOUBLE_EQ(r.windSpeed, 6.0);
    EXPECT_DOUBLE_EQ(r.gustSpeed, 10.0);
    EXPECT_EQ(r.windDirection, 247);
    EXPECT_DOUBLE_EQ(r.pressure, 100.0);
    EXPECT_DOUBLE_EQ(rig.window.windMin, 3.0);
    EXPECT_DOUBLE_EQ(r.observedAt, encodeDateTime(2024, 3, 7, 15, 30));
    expectCaptions(
        {shows(rig.window.CheckBoxVent, "Vent (km/h) = 6"), shows(rig.window.CheckBoxRafa, "Rafale (km/h) = 10"),
         shows(rig.window.CheckBoxDire, "Direction (°) = 247"), shows(rig.window.CheckBoxPatm, "P atm.(hPa) = --"),
         shows(rig.window.LabelVmin, "Vent min.(km/h) = 3"), shows(rig.window.Labelnomstation, "Pioupiou 110")});
    EXPECT_EQ(rig.window.Editdatemeteo.text(), "07/03/2024  14:30:00");
    rig.window.ComboBoxTU.setItemIndex(1);
    EXPECT_EQ(rig.window.Editdatemeteo.text(), "07/03/2024  15:30:00");
    // Only the useful lines are kept; the figures of a beacon without temperature are hidden.
    EXPECT_EQ(rig.workFile("PIU_web.txt").substr(0, 22), "\"name\": \"Pioupiou 110\"");
    EXPECT_FALSE(rig.window.CheckBoxText.visible());
    EXPECT_FALSE(rig.window.CheckBoxHumiExt.enabled());
    EXPECT_FALSE(rig.inWork("metar_cw.txt"));
}

TEST(TFormMeteoPIU, NullValuesAndHalves) {
    PiuRig rig;
    rig.downloader.serve(kAddress, answer("      \"date\": \"2024-03-07T14:30:12.000Z\",\n      \"pressure\": 1012.6,\n"
                                          "      \"wind_heading\": null,\n      \"wind_speed_avg\": null,\n"
                                          "      \"wind_speed_max\": 12.5,\n      \"wind_speed_min\": null\n"));
    rig.window.SpinEditOffSetPression.setValue(1);
    rig.submit(kAddress);
    const WeatherReading& r = rig.window.reading();
    EXPECT_DOUBLE_EQ(r.windSpeed, 0.0);
    EXPECT_DOUBLE_EQ(r.gustSpeed, 12.0);
    EXPECT_EQ(r.windDirection, -1);
    EXPECT_DOUBLE_EQ(r.pressure, 1013.0);
    EXPECT_EQ(rig.window.CheckBoxPatm.caption(), "P atm.(hPa) = 1012,0");
    EXPECT_EQ(rig.window.CheckBoxDire.caption(), "Direction (°) = --");
    EXPECT_EQ(rig.window.LabelVmin.caption(), "Vent min.(km/h) = --");
}

TEST(TFormMeteoPIU, TheAddressNamesTheBeaconUntilTheAnswerDoes) {
    PiuRig rig;
    rig.downloader.serve(kAddress, answer(kMeasurements, "\"id_only\": 1"));
    rig.submit(kAddress);
    EXPECT_EQ(rig.window.Labelnomstation.caption(), "Pioupiou 110");
    EXPECT_EQ(rig.window.CheckBoxVent.caption(), "Vent (km/h) = 6");
}

TEST(TFormMeteoPIU, FailuresShowTheirCodes) {
    PiuRig rig;
    rig.submit(kAddress);
    EXPECT_EQ(rig.window.errorText(), "Erreur fichier #1");
    EXPECT_TRUE(rig.window.TimerMeteo.enabled());
    rig.downloader.serve(kAddress, "{\n\"data\": {\n\"measurements\": {\n\"date\": \"2024-03-07T14:30:12.000Z\",\n");
    rig.window.TimerMeteoTimer();
    EXPECT_EQ(rig.window.errorText(), "Erreur fichier #1");  // cut off within the six lines
    rig.downloader.serve(kAddress, "{\n\"error\": \"unknown station\"\n}\n");
    rig.window.TimerMeteoTimer();
    EXPECT_EQ(rig.window.errorText(), "Erreur fichier #5");
    rig.submit("ftp://api.pioupiou.example/v1/live/110");
    EXPECT_EQ(rig.window.errorText(), "Erreur fichier #5");
    EXPECT_TRUE(rig.window.TimerMeteo.enabled());
}

TEST(TFormMeteoPIU, AnExistingWorkingFileIsTakenAsTheDocumentOnEnter) {
    PiuRig rig;
    rig.startingUp = true;  // the refresh that Enter clicks waits: only the submission runs
    rig.putWork("PIU_web.txt", answer(kMeasurements));
    rig.submit(kAddress);
    EXPECT_TRUE(rig.downloader.downloads.empty());
    EXPECT_EQ(rig.window.errorText(), "");
    EXPECT_EQ(rig.window.reading().locator, "PIU_web.txt");
    // Every read downloads anew.
    rig.downloader.serve(kAddress, answer(kMeasurements));
    rig.startingUp = false;
    rig.window.TimerMeteoTimer();
    EXPECT_EQ(rig.downloader.downloads.size(), 1u);
    EXPECT_EQ(rig.downloader.purged.size(), 1u);
}

TEST(TFormMeteoPIU, AReadDoesNotStartWhileAnotherRuns) {
    PiuRig rig;
    rig.downloader.serve(kAddress, answer(kMeasurements));
    rig.window.EditDat.setText(kAddress);
    int nested = 0;
    rig.downloader.duringDownload = [&] {
        if (nested++ == 0) rig.window.TimerMeteoTimer();
    };
    rig.window.TimerMeteoTimer();
    EXPECT_EQ(rig.downloader.downloads.size(), 1u);
    EXPECT_FALSE(rig.window.busy.isSet());
    EXPECT_EQ(rig.window.CheckBoxVent.caption(), "Vent (km/h) = 6");
}

TEST(TFormMeteoPIU, ShowingTheWindowStartsTheRefreshes) {
    PiuRig rig;
    rig.window.form.show();
    EXPECT_FALSE(rig.window.TimerMeteo.enabled());
    rig.window.form.hide();
    rig.window.EditDat.setText(kAddress);
    rig.window.form.show();
    EXPECT_TRUE(rig.window.TimerMeteo.enabled());
    EXPECT_FALSE(rig.desktop.warningBeep);
}

TEST(TFormMeteoPIU, RealAnswersDecode) {
    for (const char* name :
         {"live_110_official_doc.json", "live_110_compact.json", "live_1333_windbird2radio_test.json",
          "live_19_wind_app_test.json", "live_with_meta_110_official_doc.json"}) {
        SCOPED_TRACE(name);
        PiuRig rig;
        rig.downloader.serve(kAddress, WebSourceRig::slurp(std::string(TINTAL_TEST_DATA_DIR) + "/pioupiou/" + name));
        rig.submit(kAddress);
        const WeatherReading& r = rig.window.reading();
        EXPECT_EQ(rig.window.errorText(), "");
        // The one-line answer is the same document as the official one.
        if (std::string(name) == "live_110_compact.json" || std::string(name) == "live_110_official_doc.json") {
            EXPECT_EQ(r.windSpeed, 14.0);
            EXPECT_EQ(r.gustSpeed, 22.0);
            EXPECT_EQ(r.windDirection, 292);
            EXPECT_EQ(rig.window.Labelnomstation.caption(), "Pioupiou 110");
        }
        EXPECT_TRUE(r.windSpeed == 0.0 || r.windSpeed == -1.0 || kWindLimits.contains(r.windSpeed)) << r.windSpeed;
        EXPECT_TRUE(r.windDirection == 0 || r.windDirection == -1 || (r.windDirection >= 0 && r.windDirection <= 360));
    }
}

TEST(TFormFavPIU, ASlotWithALabelIsFetchedWithoutIt) {
    PiuRig rig;
    TFormFavPIU favourites(rig.window);
    rig.downloader.serve(kAddress, answer(kMeasurements));
    favourites.Edit5.setText(kAddress + " //Plage");
    rig.window.form.show();
    favourites.Button5.click();
    EXPECT_EQ(rig.downloader.downloads.back(), kAddress);
    EXPECT_EQ(rig.window.CheckBoxRafa.caption(), "Rafale (km/h) = 10");
    EXPECT_EQ(favourites.form.caption(), "Favoris Pioupiou");
}

}  // namespace
}  // namespace tintal
