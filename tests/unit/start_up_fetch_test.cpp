// The network at start-up: the settings' load holds the clock's tick, so the weather fetch and the
// version check it asks for come after it; a server that hangs then delays no scheduled minute.
#include <gtest/gtest.h>

#include "fakes/program_rig.h"

namespace tintal {
namespace {

const std::string kMetar = "https://metar.example/LFPG.TXT";

std::string settings(const std::string& extra) {
    return "[TINTAL V2.4.0]\r\nPERIOD=1\r\nPLAGE_DEBUT=0\r\nPLAGE_FIN=24\r\nMETEO=METAR\r\nMETAR_VITVENT=Y\r\n"
           "METAR_DAT=" +
           kMetar + "\r\n" + extra;
}

// Started 800 ms before 10:15, every download hanging 30 s (the transfer's limit) while the window
// thread dispatches, as the real downloaders do.
TEST(StartUpFetch, AServerThatHangsAtStartDelaysNoScheduledMinute) {
    for (const std::string extra : {"", "VERSTART=1\r\n"}) {
        SCOPED_TRACE(extra);
        ProgramRig rig(encodeDateTime(2026, 12, 8, 10, 14, 59) + 0.2 / 86400);
        rig.files.put("tintal.ini", settings(extra));
        int hung = 0;
        rig.downloader.duringDownload = [&] {
            ++hung;
            rig.loop.pump(30000);
            throw DownloadError("timeout");
        };
        TintalProgram& program = rig.start();
        rig.loop.advance(2000);
        EXPECT_EQ(hung, extra.empty() ? 1 : 2);
        ASSERT_FALSE(rig.player.startedAt.empty()) << "no announcement";
        // 10:15:00 is 800 ms after the start; the tick falls a few milliseconds after the second.
        EXPECT_GE(rig.player.startedAt.front(), 800);
        EXPECT_LE(rig.player.startedAt.front(), 820);
        rig.loop.advance(40000);
        EXPECT_EQ(program.web.metar.FetchError, 102) << "the failed fetch was not reported";
    }
}

// The fetch still comes at start: the figures are there once the load is over, and a preview that waits
// for downloads sees it due from the load on.
TEST(StartUpFetch, TheSourceIsFetchedAndReadRightAfterTheLoad) {
    ProgramRig rig;
    rig.files.put("tintal.ini", settings(""));
    rig.downloader.serve(kMetar, "LFPG 081430Z 24012KT 9999 FEW040 12/08 Q1013 NOSIG\r\n");
    auto program = std::make_unique<TintalProgram>(ProgramPorts{rig.loop, rig.desktop, rig.player, rig.audio,
                                                                rig.station, rig.lines, rig.channel, rig.recorder,
                                                                rig.downloader, rig.files, rig.autostart, "", ""});
    bool dueAfterLoad = false;
    program->form.onSettingsLoaded = [&] {
        program->settings.finishLoad(nullptr);
        dueAfterLoad = program->web.downloading() && rig.downloader.downloads.empty();
    };
    program->start();
    rig.loop.advance(600);
    EXPECT_TRUE(dueAfterLoad);
    EXPECT_FALSE(program->web.downloading());
    // As the start has always fetched: the submission, then the read.
    EXPECT_EQ(rig.downloader.downloads, (std::vector<std::string>{kMetar, kMetar}));
    EXPECT_EQ(program->web.metar.CheckBoxVent.caption(), "Vent (km/h) = 22");
}

}  // namespace
}  // namespace tintal
