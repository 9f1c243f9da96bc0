// `tintal --read-source`: the real program reading real station files and files the test writes.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

#include "base/date_time.h"
#include "command_run.h"
#include "fakes/station_files.h"
#include "fakes/temp_folder.h"
#include "fakes/test_data.h"

namespace tintal {
namespace {

struct Shown {
    int status = -1;
    std::vector<std::string> lines;
};

Shown readSource(const std::string& arguments) {
    const CommandRun run = runCommand(std::string(TINTAL_BINARY) + " --read-source " + arguments + " 2>&1");
    return {run.status, outputLines(run.out)};
}

StationBytes text(const std::string& s) { return StationBytes(s.begin(), s.end()); }

std::string quoted(const std::string& path) { return "'" + path + "'"; }

// Each test reads its own copy of the sample files, under the name a station gives them.
std::string copySample(const TempFolder& folder, const std::string& sample, const std::string& name) {
    const std::string target = folder.file(name);
    return copyTestData(sample, target) ? target : std::string();
}

constexpr std::size_t kFileWindowLines = 14;  // ten tick boxes, two labels, the date, the error

TEST(ReadSource, RealHistoryFilesAndArchive) {
    TempFolder folder;
    const std::string w23 = copySample(folder, "lacrosse/ws2300-history.dat", "history.dat");
    const std::string w28 = copySample(folder, "lacrosse/ws3600-history.dat", "ws3600.dat");
    const std::string wlk = copySample(folder, "wlk/2016-04.wlk", "2016-04.wlk");
    ASSERT_FALSE(w23.empty() || w28.empty() || wlk.empty()) << "the sample files are missing from the build";

    Shown r = readSource("w23 " + quoted(w23));
    ASSERT_EQ(r.status, 0);
    ASSERT_EQ(r.lines.size(), kFileWindowLines);
    EXPECT_EQ(r.lines[0], "T int.(°C) = 19,0");
    // The file ends while the outdoor sensor was lost: its markers read as missing figures.
    EXPECT_EQ(r.lines[1], "T ext.(°C) = --");
    EXPECT_EQ(r.lines[4], "Vent (km/h) = --");
    EXPECT_EQ(r.lines[5], "Rafale (km/h) = 0");  // no valid wind among the last ten records
    EXPECT_EQ(r.lines[6], "Direction (°) = --");
    EXPECT_EQ(r.lines[9], "Humi. ext (%) = --");
    EXPECT_EQ(r.lines[12], "27/04/2013 08:52:00");
    EXPECT_EQ(r.lines[13], "");

    r = readSource("w28 " + quoted(w28));
    ASSERT_EQ(r.status, 0);
    ASSERT_EQ(r.lines.size(), kFileWindowLines);
    EXPECT_EQ(r.lines[2], "P atm.(hPa) = 994,6");
    EXPECT_EQ(r.lines[3], "tendance : en hausse");
    EXPECT_EQ(r.lines[11], "T. rosée (°C) = -4,8");
    EXPECT_EQ(r.lines[12], "02/05/2005 08:30:00");

    r = readSource("pro2 " + quoted(wlk) + " --at '2016-04-26 12:00'");
    ASSERT_EQ(r.status, 0);
    ASSERT_EQ(r.lines.size(), kFileWindowLines);
    EXPECT_EQ(r.lines[0], "T int.(°C) = 28,9");
    EXPECT_EQ(r.lines[6], "Direction (°) = 202");
    EXPECT_EQ(r.lines[12], "25/04/2016 18:45:00");
}

TEST(ReadSource, AWrittenHistoryFileShowsEveryCaptionInTheWindowsOrder) {
    TempFolder folder;
    std::vector<Ws2300FileRecord> records(3);
    for (std::size_t i = 0; i < records.size(); ++i) records[i].seconds = 3'500'000'000u + 600 * std::uint32_t(i);
    records.back().humidityExt = 0x96;
    records.back().direction = 35;
    records.back().wind = 5.0f;
    const std::string path = folder.write("history.dat", ws2300History(records));
    const Shown r = readSource("w23 " + quoted(path));
    EXPECT_EQ(r.status, 0);
    const std::vector<std::string> expected{"T int.(°C) = 20,0",    "T ext.(°C) = 10,0",
                                            "P atm.(hPa) = 1013,0", "tendance : stationnaire",
                                            "Vent (km/h) = 18",     "Rafale (km/h) = 18",
                                            "Direction (°) = 68",   "T. ressentie (°C) = 7,6",
                                            "Pluie/24h (mm) = --",  "Humi. ext (%) = -106 [rouge]",
                                            "Humi. int (%) = 50",   "T. rosée (°C) = --",
                                            "29/11/2010 07:33:20",  ""};
    EXPECT_EQ(r.lines, expected);
}

TEST(ReadSource, DamagedFilesGiveTheFileErrorAndNothingElse) {
    TempFolder folder;
    const auto check = [](const std::string& arguments) {
        const Shown r = readSource(arguments);
        EXPECT_EQ(r.status, 1) << arguments;
        ASSERT_EQ(r.lines.size(), kFileWindowLines) << arguments;
        EXPECT_EQ(r.lines[13], "Erreur fichier") << arguments;
        EXPECT_EQ(r.lines[12], "") << arguments;  // no date: no figure was taken
        EXPECT_EQ(r.lines[0], "T.int (°C) =") << arguments;
    };
    // Less than one complete record.
    check("w23 " + quoted(folder.write("short.dat", StationBytes(35, 0x41))));
    check("w28 " + quoted(folder.write("short28.dat", StationBytes(55, 0x41))));
    // A header announcing more records than the file holds.
    check("pro2 " +
          quoted(folder.write("2024-03.wlk", WlkFile().days(1, 3, 10).add(WlkFileRecord{}, 4).announce(5).bytes())));
    // The extension must be exactly ".wlk".
    check("pro2 " + quoted(folder.write("2024-04.WLK", WlkFile().days(1, 3, 10).add(WlkFileRecord{}).bytes())));
    check("w23 " + quoted(folder.file("absent.dat")));
}

TEST(ReadSource, ASimulatedWeatherMonitor) {
    TempFolder folder;
    const std::string plausible =
        folder.write("mon.txt", text("# inside outside inHg trend mph degrees\n32 50 29.92 3 250 90\n"));
    Shown r = readSource("mon " + quoted(plausible));
    EXPECT_EQ(r.status, 0);
    const std::vector<std::string> expected{"T int.(°C) = 0,0",
                                            "T ext.(°C) = 10,0",
                                            "P atm.(hPa) = 1013",
                                            "Tendance = ",  // code 3 leaves the caption
                                            "Vent (km/h) = 402 [rouge]",
                                            "Rafale (km/h) = 0",
                                            "Direction (°) = 90",
                                            "Lecture Weather Monitor terminée "};
    EXPECT_EQ(r.lines, expected);

    const std::string silent = folder.write("silent.txt", text("-80 0 0 0 0 0"));
    r = readSource("mon " + quoted(silent));
    EXPECT_EQ(r.status, 1);
    ASSERT_FALSE(r.lines.empty());
    EXPECT_EQ(r.lines.back(), "Anomalie Weather Monitor");

    r = readSource("mon " + quoted(folder.write("bad.txt", text("x\n"))));
    EXPECT_EQ(r.status, 1);
    ASSERT_EQ(r.lines.size(), 1u);
    EXPECT_EQ(r.lines[0], "line 1: six numbers expected (insideF outsideF inHg trend mph degrees)");
}

TEST(ReadSource, UnknownKindsAreRefused) {
    const Shown r = readSource("synop x");
    EXPECT_EQ(r.status, 2);
    ASSERT_FALSE(r.lines.empty());
    EXPECT_EQ(r.lines[0],
              "tintal: --read-source takes the kind w23, w28, pro2, mon, metar, aprs or piu, not \"synop\"");
}

}  // namespace
}  // namespace tintal
