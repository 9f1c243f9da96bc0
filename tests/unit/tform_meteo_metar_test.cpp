#include "weather/web/tform_meteo_metar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "fakes/caption_checks.h"
#include "fakes/web_source_rig.h"
#include "weather/web/favourites_window.h"
#include "weather/web/web_sources.h"

namespace tintal {
namespace {

const std::string kAddress = "https://tgftp.example/data/LFPG.TXT";
const std::string kReport = "LFPG 071430Z 24012KT 9999 FEW040 12/08 Q1013 NOSIG";

using MetarRig = WindowRig<TFormMeteoMETAR>;

TEST(TFormMeteoMETAR, TheReferenceReportFillsReadingCaptionsAndExports) {
    MetarRig rig;
    rig.downloader.serve(kAddress, kReport + "\n");
    rig.window.SpinEditOffSetPression.setValue(2);
    rig.submit(kAddress);

    const WeatherReading& r = rig.window.reading();
    EXPECT_EQ(r.locator, "metar_web.txt");
    EXPECT_EQ(rig.window.errorText(), "");
    EXPECT_DOUBLE_EQ(r.tempExt, 12.0);
    EXPECT_DOUBLE_EQ(r.dewPoint, 8.0);
    EXPECT_DOUBLE_EQ(r.pressure, 1015.0);
    EXPECT_NEAR(r.windSpeed, 22.224, 1e-9);
    EXPECT_DOUBLE_EQ(r.gustSpeed, 0.0);
    EXPECT_EQ(r.windDirection, 240);
    EXPECT_EQ(r.humidityExt, 77);
    EXPECT_NEAR(r.feelsLike, 9.7, 0.05);
    EXPECT_DOUBLE_EQ(r.observedAt, encodeDateTime(2024, 3, 7, 14, 30));

    expectCaptions(
        {shows(rig.window.LabelICAO, "Code aérodrome = LFPG"), shows(rig.window.CheckBoxText, "T ext.(°C) = 12,0"),
         shows(rig.window.CheckBoxPatm, "P atm.(hPa) = 1015,0"), shows(rig.window.CheckBoxVent, "Vent (km/h) = 22"),
         shows(rig.window.CheckBoxRafa, "Rafale (km/h) = --"), shows(rig.window.CheckBoxDire, "Direction (°) = 240"),
         shows(rig.window.CheckBoxTRes, "T. ressentie (C°) = 9,7"), shows(rig.window.LabelTros, "T. rosée (C°) = 8,0"),
         shows(rig.window.CheckBoxHumiExt, "Humi. ext (%) = 77"),
         shows(rig.window.CheckBoxPluie, "Précipitations = --")});
    EXPECT_EQ(rig.window.Editdatemeteo.text(), "07/03/2024  14:30:00");

    // The exports, byte for byte, in the working folder and in the export folder; the QNH has no offset.
    const std::string uiView = "Mar 07 2024 14:30\r\n240/014g...t054r000p...P...h77b10130\r\n";
    const std::string beacon = " TEMP 12C = QNH 1013hPa = WS 22kmh = WCT 10C = HUM 77 \r\n";
    EXPECT_EQ(rig.workFile("metar_uiview.txt"), uiView);
    EXPECT_EQ(rig.exportFile("metar_uiview.txt"), uiView);
    EXPECT_EQ(rig.workFile("metar_cw.txt"), beacon);
    EXPECT_EQ(rig.exportFile("metar_cw.txt"), beacon);
    // Enter submits, then the refresh it clicks fetches again: each fetch purges the cache entry first.
    EXPECT_EQ(rig.downloader.purged, rig.downloader.downloads);
}

TEST(TFormMeteoMETAR, TimeShownInUtcOrLocalAndInchesOfMercury) {
    MetarRig rig;
    rig.desktop.biasMinutes = -60;  // UTC+1
    rig.downloader.serve(kAddress, "KJFK 071430Z 24012KT 10SM 12/08 A2992\r\n");
    rig.submit(kAddress);
    EXPECT_EQ(rig.window.CheckBoxPatm.caption(), "P atm.(hPa) = 1013,2");
    EXPECT_EQ(rig.window.Editdatemeteo.text(), "07/03/2024  14:30:00");
    EXPECT_DOUBLE_EQ(rig.window.reading().observedAt, encodeDateTime(2024, 3, 7, 15, 30));
    rig.window.ComboBoxTU.setItemIndex(1);  // "Loc": refreshes at once
    EXPECT_EQ(rig.window.Editdatemeteo.text(), "07/03/2024  15:30:00");
    EXPECT_NE(rig.workFile("metar_cw.txt").find("QNH 1013hPa"), std::string::npos);
}

TEST(TFormMeteoMETAR, AReportOfTheLastDayDecodedOnTheFirstBelongsToThePreviousMonth) {
    MetarRig rig;
    rig.loop.setLocalNow(encodeDateTime(2025, 1, 1, 0, 5));
    rig.downloader.serve(kAddress, "LFPG 312350Z 24012KT 9999 12/08 Q1013\n");
    rig.submit(kAddress);
    EXPECT_DOUBLE_EQ(rig.window.reading().observedAt, encodeDateTime(2024, 12, 31, 23, 50));
    EXPECT_EQ(rig.workFile("metar_uiview.txt").substr(0, 17), "Dec 31 2024 23:50");
}

TEST(TFormMeteoMETAR, AProviderPageIsCutToItsReportLine) {
    MetarRig rig;
    const std::string address = "https://www.allmetsat.example/metar-taf/france.php?icao=LFPG //Roissy";
    rig.downloader.serve("https://www.allmetsat.example/metar-taf/france.php?icao=LFPG",
                         "<html><body>\n<p>TAF: LFPG 071100Z 0712/0818 24010KT</p>\n<p><b>METAR:</b> " + kReport +
                             " </p>\n</body></html>\n");
    rig.submit(address);
    EXPECT_EQ(rig.window.errorText(), "");
    EXPECT_EQ(rig.workFile("metar_web.txt"), kReport + "\r\n");
    EXPECT_EQ(rig.window.LabelNomICAO.caption(), "Roissy");
    EXPECT_EQ(rig.window.CheckBoxVent.caption(), "Vent (km/h) = 22");
    // The label is cut off before fetching, and the history keeps the address as typed.
    EXPECT_EQ(rig.downloader.downloads.back(), "https://www.allmetsat.example/metar-taf/france.php?icao=LFPG");
    EXPECT_EQ(rig.window.ComboBoxPath.items(), std::vector<std::string>{address});
}

TEST(TFormMeteoMETAR, FailuresShowTheirCodeAndKeepRetrying) {
    MetarRig rig;
    rig.submit(kAddress);  // nothing served: the download fails
    EXPECT_EQ(rig.window.errorText(), "Erreur fichier #102");
    EXPECT_TRUE(rig.window.TimerMeteo.enabled());
    EXPECT_EQ(rig.window.reading().locator, "");

    rig.downloader.serve(kAddress, "<html>no report here</html>\n");
    rig.window.TimerMeteo.stop();
    rig.window.TimerMeteoTimer();
    EXPECT_EQ(rig.window.errorText(), "Erreur fichier #6");
    EXPECT_TRUE(rig.window.TimerMeteo.enabled());

    // A page with no station code in the address; then an address that is not a web address.
    rig.downloader.serve("https://x.example/page", "<p>" + kReport + "</p>\n");
    rig.submit("https://x.example/page");
    EXPECT_EQ(rig.window.errorText(), "Erreur fichier #6");
    rig.submit("HTTPS://X.EXAMPLE/PAGE");
    EXPECT_EQ(rig.window.errorText(), "Erreur fichier #6");
    EXPECT_EQ(rig.downloader.downloads.size(), 3u);

    // The next good fetch clears the error and the timer is re-armed by the read.
    rig.downloader.fail(kAddress);
    rig.submit(kAddress);
    EXPECT_EQ(rig.window.errorText(), "Erreur fichier #102");
    rig.downloader.serve(kAddress, kReport);
    rig.loop.advance(60000);
    EXPECT_EQ(rig.window.errorText(), "");
    EXPECT_EQ(rig.window.reading().locator, "metar_web.txt");
    EXPECT_TRUE(rig.window.TimerMeteo.enabled());
}

TEST(TFormMeteoMETAR, TheErrorFieldReadsTéléchargementWhileFetching) {
    MetarRig rig;
    std::string during;
    rig.downloader.duringDownload = [&] { during = rig.window.StaticTextErreur.caption(); };
    rig.downloader.serve(kAddress, kReport);
    rig.submit(kAddress);
    EXPECT_EQ(during, "Téléchargement");
    EXPECT_EQ(rig.window.errorText(), "");
}

TEST(TFormMeteoMETAR, MissingGroupsGiveTheirMarkersAndDots) {
    MetarRig rig;
    rig.downloader.serve(kAddress, "LFPG 071430Z 00000KT 9999 Q1013\n");
    rig.submit(kAddress);
    const WeatherReading& r = rig.window.reading();
    EXPECT_DOUBLE_EQ(r.tempExt, -70.0);
    EXPECT_DOUBLE_EQ(r.feelsLike, -80.0);
    EXPECT_EQ(r.humidityExt, -1);
    EXPECT_DOUBLE_EQ(r.windSpeed, 0.0);
    EXPECT_EQ(rig.window.CheckBoxText.caption(), "T ext.(°C) = --");
    EXPECT_EQ(rig.window.CheckBoxTRes.caption(), "T. ressentie (C°) = --");
    EXPECT_EQ(rig.window.LabelTros.caption(), "T. rosée (C°) = --");
    EXPECT_EQ(rig.workFile("metar_cw.txt"), " = QNH 1013hPa = WS 0kmh \r\n");
    EXPECT_EQ(rig.workFile("metar_uiview.txt"), "Mar 07 2024 14:30\r\n000/000g...t...r000p...P...h..b10130\r\n");
}

TEST(TFormMeteoMETAR, OutOfLimitFiguresAreRed) {
    MetarRig rig;
    rig.downloader.serve(kAddress, "LFPG 071430Z 240120G150KT 9999 M55/M60 Q0900\n");
    rig.submit(kAddress);
    EXPECT_EQ(rig.window.CheckBoxText.colour(), Colour::Red);
    EXPECT_EQ(rig.window.CheckBoxPatm.colour(), Colour::Red);
    EXPECT_EQ(rig.window.CheckBoxVent.colour(), Colour::Red);
    EXPECT_EQ(rig.window.CheckBoxRafa.colour(), Colour::Red);
    EXPECT_EQ(rig.window.CheckBoxTRes.colour(), Colour::Red);
    // The next good report turns them black again.
    rig.downloader.serve(kAddress, kReport);
    rig.window.ButtonRafraichir.click();
    EXPECT_EQ(rig.window.CheckBoxText.colour(), Colour::Black);
    EXPECT_EQ(rig.window.CheckBoxVent.colour(), Colour::Black);
}

TEST(TFormMeteoMETAR, TheWarningBeepIsOffWhileTheWindowIsShown) {
    MetarRig rig;
    rig.window.EditDat.setText(kAddress + " //Paris CDG");
    rig.window.form.show();
    EXPECT_FALSE(rig.desktop.warningBeep);
    EXPECT_EQ(rig.chooserHides, 1);
    EXPECT_EQ(rig.window.LabelNomICAO.caption(), "Paris CDG");
    rig.window.form.hide();
    EXPECT_TRUE(rig.desktop.warningBeep);
    rig.window.EditDat.setText(kAddress);
    EXPECT_EQ(rig.window.LabelNomICAO.caption(), "====================");
}

TEST(TFormMeteoMETAR, TheHistoryKeepsTenAddressesNewestFirstWhenFull) {
    MetarRig rig;
    for (int i = 0; i < 11; ++i) rig.downloader.serve("https://m.example/" + std::to_string(i), kReport);
    for (int i = 0; i < 10; ++i) rig.submit("https://m.example/" + std::to_string(i));
    rig.submit("https://m.example/unreachable");
    auto& history = rig.window.ComboBoxPath;
    ASSERT_EQ(history.count(), 10);
    EXPECT_EQ(history.items().front(), "https://m.example/0");
    // Failed fetches add nothing; a known address is selected, not added.
    rig.submit("https://m.example/3");
    EXPECT_EQ(history.count(), 10);
    EXPECT_EQ(history.itemIndex(), 3);
    rig.downloader.serve("https://m.example/new", kReport);
    rig.submit("https://m.example/new");
    EXPECT_EQ(history.count(), 10);
    EXPECT_EQ(history.items().front(), "https://m.example/new");
    EXPECT_EQ(history.items().back(), "https://m.example/8");
    EXPECT_EQ(history.itemIndex(), 0);
}

TEST(TFormMeteoMETAR, ChoosingAHistoryEntryLoadsIt) {
    MetarRig rig;
    rig.downloader.serve(kAddress, kReport);
    rig.downloader.serve("https://m.example/other", "LFBO 071430Z 09005MPS 9999 05/M01 Q1020\n");
    rig.submit(kAddress);
    rig.submit("https://m.example/other");
    rig.window.ComboBoxPath.setItemIndex(0);
    EXPECT_EQ(rig.window.EditDat.text(), kAddress);
    EXPECT_EQ(rig.window.LabelICAO.caption(), "Code aérodrome = LFPG");
}

TEST(TFormMeteoMETAR, SelectionSubmitsAgainAndTheStartUpRefreshWaits) {
    MetarRig rig;
    rig.downloader.serve(kAddress, kReport);
    rig.window.EditDat.setText(kAddress);
    rig.startingUp = true;
    rig.window.ButtonRafraichir.click();
    EXPECT_TRUE(rig.downloader.downloads.empty());
    rig.window.select(false);
    // The fetch waits until the settings' load is over, then comes as the start's own: one submission
    // and one read, each with its download, and no refresh click of its own.
    EXPECT_TRUE(rig.downloader.downloads.empty());
    EXPECT_TRUE(rig.window.downloading());
    rig.startingUp = false;
    rig.loop.processPending();
    EXPECT_EQ(rig.downloader.downloads.size(), 2u);
    EXPECT_FALSE(rig.window.downloading());
    EXPECT_EQ(rig.window.reading().locator, "metar_web.txt");
    EXPECT_FALSE(rig.window.form.visible());
    rig.window.stopRefresh();
    EXPECT_FALSE(rig.window.TimerMeteo.enabled());
}

TEST(TFormMeteoMETAR, AnExportThatCannotBeWrittenIsReportedAndTheFiguresStand) {
    MetarRig rig;
    // A folder in the file's place.
    std::filesystem::create_directory(rig.work.path() / "metar_cw.txt");
    rig.putWork("metar_cw.txt/keep", "x");
    rig.downloader.serve(kAddress, kReport);
    rig.submit(kAddress);
    EXPECT_EQ(rig.desktop.messages, std::vector<std::string>{"Ne peut creer metar_cw.txt"});
    EXPECT_EQ(rig.window.CheckBoxVent.caption(), "Vent (km/h) = 22");
    EXPECT_EQ(rig.exportFile("metar_cw.txt"), " TEMP 12C = QNH 1013hPa = WS 22kmh = WCT 10C = HUM 77 \r\n");
}

TEST(TFormFavMETAR, ASlotOpensInTheVisibleSourceOnly) {
    MetarRig rig;
    TFormFavMETAR favourites(rig.window);
    rig.downloader.serve(kAddress, kReport);
    favourites.Button1.click();  // empty slot
    favourites.Edit2.setText(kAddress + " //Roissy");
    favourites.Button2.click();  // the source window is hidden
    EXPECT_TRUE(rig.downloader.downloads.empty());
    EXPECT_EQ(rig.window.EditDat.text(), "");

    rig.window.form.show();
    rig.window.ButtonFav.click();
    EXPECT_TRUE(favourites.form.visible());
    favourites.Button2.click();
    EXPECT_FALSE(favourites.form.visible());  // "Rafraichir" hides the favourites
    EXPECT_EQ(rig.window.EditDat.text(), kAddress + " //Roissy");
    EXPECT_EQ(rig.downloader.downloads.back(), kAddress);
    EXPECT_EQ(rig.window.LabelICAO.caption(), "Code aérodrome = LFPG");
    EXPECT_EQ(favourites.slots[1], &favourites.Edit2);
}

}  // namespace
}  // namespace tintal

namespace tintal {
namespace {

TEST(WebSources, TheChooserStartsTheCheckedSourceAndStopsTheOthers) {
    WebSourceRig rig;
    TFormChoixMeteo chooser;
    WebSources sources(rig.context(), chooser);
    rig.downloader.serve(kAddress, kReport);
    sources.metar.EditDat.setText(kAddress);
    sources.piu.TimerMeteo.start();

    chooser.form.show();
    chooser.RadioButtonMETAR.setChecked(true);
    EXPECT_TRUE(sources.metar.selected());
    EXPECT_FALSE(sources.piu.selected());
    EXPECT_FALSE(sources.piu.TimerMeteo.enabled());
    EXPECT_TRUE(sources.metar.TimerMeteo.enabled());
    EXPECT_TRUE(isConfigured(sources.metar));
    EXPECT_TRUE(sources.metar.form.visible());
    EXPECT_FALSE(chooser.form.visible());  // the source window hides the chooser
    EXPECT_EQ(sources.metar.CheckBoxVent.caption(), "Vent (km/h) = 22");
    EXPECT_EQ(sources.favMetar.form.caption(), "Favoris METAR");
}

}  // namespace
}  // namespace tintal

namespace tintal {
namespace {

TEST(TFormMeteoMETAR, RealReportsDecodeAndExport) {
    std::ifstream reports(std::string(TINTAL_TEST_DATA_DIR) + "/metar/real_reports.txt");
    ASSERT_TRUE(reports) << "the real reports are missing from the build";
    int count = 0;
    for (std::string line; std::getline(reports, line);) {
        if (line.empty() || line[0] == '#') continue;
        const std::string report = line.substr(line.rfind('|') + 1);
        SCOPED_TRACE(report);
        MetarRig rig;
        rig.downloader.serve(kAddress, report + "\r\n");
        rig.submit(kAddress);
        const WeatherReading& r = rig.window.reading();
        EXPECT_EQ(rig.window.errorText(), "");
        EXPECT_LE(r.humidityExt, 99);
        EXPECT_TRUE(r.tempExt == -70.0 || kTemperatureLimits.contains(r.tempExt)) << r.tempExt;
        EXPECT_TRUE(r.pressure == 100.0 || kPressureLimits.contains(r.pressure)) << r.pressure;
        const std::string uiView = rig.workFile("metar_uiview.txt");
        EXPECT_EQ(std::count(uiView.begin(), uiView.end(), '\n'), 2) << uiView;
        EXPECT_EQ(rig.exportFile("metar_cw.txt"), rig.workFile("metar_cw.txt"));
        ++count;
    }
    EXPECT_GE(count, 57);
}

TEST(TFormMeteoMETAR, SaturatedAirReadsNinetyNinePercent) {
    MetarRig rig;
    rig.downloader.serve(kAddress, "LFPG 071430Z 24003KT 0200 FG 05/05 Q1020\n");
    rig.submit(kAddress);
    EXPECT_EQ(rig.window.reading().humidityExt, 99);
    EXPECT_EQ(rig.window.CheckBoxHumiExt.caption(), "Humi. ext (%) = 99");
    EXPECT_EQ(rig.window.CheckBoxPluie.caption(), "Précipitations = Brouillard");
    EXPECT_EQ(rig.workFile("metar_uiview.txt"), "Mar 07 2024 14:30\r\n240/003g...t041r020p...P...h99b10200\r\n");
}

}  // namespace
}  // namespace tintal
