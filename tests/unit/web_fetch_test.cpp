#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/web_source_rig.h"
#include "weather/web/tform_meteo_aprs.h"
#include "weather/web/tform_meteo_metar.h"

namespace tintal {
namespace {

TEST(WebFetch, TheLabelBehindSpaceSlashSlashIsCutUpToTheSourceLimit) {
    EXPECT_EQ(withoutLabel("https://h/p //Roissy", 1000), "https://h/p");
    EXPECT_EQ(withoutLabel("https://h/p", 1000), "https://h/p");
    EXPECT_EQ(withoutLabel("https://h/p //a //b", 1000), "https://h/p");
    const std::string longLabel(150, 'L');
    EXPECT_EQ(withoutLabel("https://h/p //" + longLabel, 100), "https://h/p" + std::string(53, 'L'));

    WindowRig<TFormMeteoAPRS> aprs;
    aprs.window.FetchSourcePage("https://h/p //" + longLabel, "aprs_web.txt");
    EXPECT_EQ(aprs.downloader.downloads.back(), "https://h/p" + std::string(53, 'L'));
}

TEST(WebFetch, WithoutALocalNameTheLastPathSegmentNamesTheFile) {
    WindowRig<TFormMeteoMETAR> rig;
    rig.downloader.serve("https://h/data/LFPG.TXT", "report");
    rig.downloader.serve("LFPG.TXT", "whole");
    EXPECT_TRUE(rig.window.FetchSourcePage("https://h/data/LFPG.TXT //Roissy", ""));
    EXPECT_EQ(rig.workFile("LFPG.TXT"), "report");
    EXPECT_TRUE(rig.window.FetchSourcePage("LFPG.TXT", ""));
    EXPECT_EQ(rig.workFile("LFPG.TXT"), "whole");
    // A segment that would leave the working folder, or none at all, is no file name.
    rig.downloader.serve("https://h/..", "x");
    EXPECT_FALSE(rig.window.FetchSourcePage("https://h/..", ""));
    EXPECT_FALSE(rig.window.FetchSourcePage("https://h/dir/", ""));
    EXPECT_EQ(rig.window.FetchError, 102);
    EXPECT_EQ(rig.downloader.downloads.size(), 2u);
    EXPECT_EQ(rig.window.StaticTextErreur.caption(), "");
}

TEST(WebFetch, OnlyAMarkerInTheFirstThreeBytesSendsThePageToTheExtractor) {
    WindowRig<TFormMeteoAPRS> rig;
    const std::string packet = "F4ABC&gt;APRS:@071330z4903.50N/00203.50E_240/012g020t054r000p010P000h77b10130";
    rig.downloader.serve("https://h/third", "\r\n<p class=raw_line>" + packet + "</p>\r\n");
    rig.window.FetchAndCheck("https://h/third", "aprs_web.txt");
    EXPECT_EQ(rig.window.FetchError, 0);
    EXPECT_EQ(rig.workFile("aprs_web.txt"), packet + "\r\n");

    // Several markers: the extractor runs once, so the packet it wrote stays.
    rig.downloader.serve("https://h/many", "<<<p class=raw_line>" + packet + "</p>\r\n");
    rig.window.FetchAndCheck("https://h/many", "aprs_web.txt");
    EXPECT_EQ(rig.window.FetchError, 0);
    EXPECT_EQ(rig.workFile("aprs_web.txt"), packet + "\r\n");

    const std::string fourth = "   <p>" + packet + "</p>\r\n";
    rig.downloader.serve("https://h/fourth", fourth);
    rig.window.FetchAndCheck("https://h/fourth", "aprs_web.txt");
    EXPECT_EQ(rig.window.FetchError, 0);
    EXPECT_EQ(rig.workFile("aprs_web.txt"), fourth);  // not a page: left for the decoder as it came
}

// The window thread keeps dispatching while a transfer runs: a refresh tick, a chooser's selection or
// an Enter that arrives then must not start a second transfer into the same working file.
TEST(WebFetch, WhileADownloadRunsNoOtherReadStartsAndTheStateShowsIt) {
    WindowRig<TFormMeteoMETAR> rig;
    const std::string address = "https://h/LFPG.TXT";
    rig.downloader.serve(address, "LFPG 071430Z 24012KT 9999 FEW040 12/08 Q1013 NOSIG\r\n");
    int depth = 0, deepest = 0;
    bool poked = false, alwaysShown = true;
    rig.downloader.duringDownload = [&] {
        deepest = std::max(deepest, ++depth);
        alwaysShown = alwaysShown && rig.window.downloading();
        if (!poked) {
            poked = true;
            rig.window.read();
            rig.window.EditDatKeyPress('\r');
            rig.window.select(false);
            rig.window.TimerMeteo.setInterval(10);
            rig.window.TimerMeteo.start();
            rig.loop.advance(100);
        }
        --depth;
    };
    rig.submit(address);
    EXPECT_EQ(deepest, 1);
    EXPECT_TRUE(alwaysShown);
    EXPECT_FALSE(rig.window.downloading());
    EXPECT_EQ(rig.window.errorText(), "");
    EXPECT_EQ(rig.window.CheckBoxVent.caption(), "Vent (km/h) = 22");
}

TEST(WebFetch, AnAnswerTooLargeHasACodeOfItsOwn) {
    WindowRig<TFormMeteoMETAR> rig;
    rig.downloader.duringDownload = [] { throw DocumentTooLarge(); };
    rig.submit("https://h/huge");
    EXPECT_EQ(rig.window.errorText(), "Erreur fichier #9");
    EXPECT_TRUE(rig.window.TimerMeteo.enabled());
}

TEST(WebFetch, AddressesAreWebAddressesByTheirExactPrefix) {
    for (const char* address : {"http://h", "https://h"}) EXPECT_TRUE(isWebAddress(address)) << address;
    for (const char* other : {"HTTP://h", " http://h", "ftp://h", "C:\\WXNOW.TXT"}) {
        EXPECT_FALSE(isWebAddress(other)) << other;
    }
}

}  // namespace
}  // namespace tintal
