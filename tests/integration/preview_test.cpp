// `tintal --dry-run` and `--render` on station folders: the settings of tintal.ini, its weather source
// read from real files or fetched from a local server, and the clips that would go on the air.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "clip_samples.h"
#include "command_run.h"
#include "fakes/temp_folder.h"
#include "fakes/test_data.h"
#include "http/local_http_server.h"

namespace tintal {
namespace {

using Clips = std::vector<std::string>;

std::string quoted(const std::string& text) { return "'" + text + "'"; }

std::string slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

struct Preview {
    int status = -1;
    Clips out;  // standard output, line by line
    std::string errors;
};

// The program in the folder's time zone-free world: local time is UTC, so that --at reads the same
// everywhere. Standard error is kept apart: standard output must hold the clips and nothing else.
Preview preview(const TempFolder& station, const std::string& arguments) {
    TempFolder scratch;
    const CommandRun run =
        runCommand("TZ=UTC " + std::string(TINTAL_BINARY) + " --dir " + quoted(station.path().string()) + " " +
                   arguments + " 2>" + quoted(scratch.file("stderr")));
    return {run.status, outputLines(run.out), slurp(scratch.file("stderr"))};
}

// A settings file choosing a source, with the announce boxes given and the cuckoo off.
std::string settings(const std::string& source, const std::string& prefix, const std::string& address,
                     std::initializer_list<const char*> boxes, const std::string& extra = "") {
    std::string ini = "[TINTAL V2.4.0]\r\nTINTAL=N\r\nMETEO=" + source + "\r\n" + prefix + "DAT=" + address + "\r\n";
    for (const char* box : boxes) ini += prefix + box + "=Y\r\n";
    return ini + extra;
}

const std::initializer_list<const char*> kAllBoxes = {"TEMPINT", "TEMPEXT", "PRESATM", "PRETEND", "VITVENT",
                                                      "VITRAFA", "DIRVENT", "TRES",    "PLUIE",   "HUMIDI"};

// A station folder with its tintal.ini and, for file sources, a copy of the real data file.
struct Station {
    TempFolder folder;
    std::string ini;

    void write(const std::string& text) {
        ini = text;
        std::ofstream(folder.file("tintal.ini"), std::ios::binary) << text;
    }
    bool copySample(const std::string& sample, const std::string& name) {
        return copyTestData(sample, folder.file(name));
    }
    // A preview reads the station's files and writes none of them back.
    void expectUntouched() const {
        EXPECT_EQ(slurp(folder.file("tintal.ini")), ini);
        EXPECT_FALSE(std::filesystem::exists(folder.file("tintal.log")));
        EXPECT_FALSE(std::filesystem::exists(folder.file("tintal.~in")));
    }
};

Clips concat(std::initializer_list<Clips> parts) {
    Clips all;
    for (const Clips& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST(Preview, RealStationFilesAreReadAndSpoken) {
    Station w23, w28, pro2;
    ASSERT_TRUE(w23.copySample("lacrosse/ws2300-history.dat", "history.dat"));
    ASSERT_TRUE(w28.copySample("lacrosse/ws3600-history.dat", "history.dat"));
    ASSERT_TRUE(pro2.copySample("wlk/2016-04.wlk", "2016-04.wlk"));
    w23.write(settings("W23", "W23_", w23.folder.file("history.dat"), kAllBoxes));
    w28.write(settings("W28", "W28_", w28.folder.file("history.dat"), kAllBoxes));
    pro2.write(settings("PRO2", "PRO2_", pro2.folder.file("2016-04.wlk"), kAllBoxes));

    // Last record 27/04/2013 08:52: 19.0 °C inside, 1007.8 hPa steady, rain 0.0; the outdoor sensor was
    // lost (wind 51.0 m/s, outdoor 81.1 °C, humidity 110): none of its figures is spoken.
    Preview r = preview(w23.folder, "--dry-run --at '2013-04-27 09:00'");
    ASSERT_EQ(r.status, 0) << r.errors;
    EXPECT_EQ(r.out, concat({{"son_samedi", "son27", "son_avril", "son2000", "son13", "son_il_est", "son9",
                              "Son_Heures_V", "son0", "son_minutes"},
                             {"son_temp_int", "son19", "son_degres"},
                             {"son_pression_atmos", "son1000", "son8", "son_hectopascal", "son_stationnaire"},
                             {"son_pluie", "son_nulle"}}));
    w23.expectUntouched();

    // 02/05/2005 08:30: 20.9 and 3.8 °C, 994.6 hPa rising, wind 10, gust 14, 315°, wind chill 1.3,
    // rain 0.0, humidity 54.
    r = preview(w28.folder, "--dry-run --at '2005-05-02 08:30'");
    ASSERT_EQ(r.status, 0) << r.errors;
    EXPECT_EQ(r.out, concat({{"son_lundi", "son2", "son_mai", "son2000", "son5", "son_il_est", "son8", "Son_Heures_T",
                              "son30", "son_minutes"},
                             {"son_temp_int", "son21", "son_degres", "son_temp_ext", "son4", "son_degres"},
                             {"son_pression_atmos", "son900", "son80", "son15", "son_hectopascal", "son_en_hausse"},
                             {"son_vent", "son10", "son_kmh", "son_rafale", "son14", "son_kmh"},
                             {"son_secteur", "son_nord_ouest"},
                             {"son_temperature_ressentie", "son1", "son_degres"},
                             {"son_pluie", "son_nulle", "son_humidite", "son54", "son_pourcent"}}));
    w28.expectUntouched();

    // 25/04/2016 18:45: 28.9 and 25.4 °C, 1009.9 hPa steady, wind 6, gust 18, 202°, wind chill 26.9,
    // rain 0.0, humidity 42; with the 16-sector rose 202° is south-south-west.
    pro2.write(pro2.ini + "ROSE=16\r\n");
    r = preview(pro2.folder, "--dry-run --at '2016-04-25 19:00'");
    ASSERT_EQ(r.status, 0) << r.errors;
    EXPECT_EQ(r.out, concat({{"son_lundi", "son25", "son_avril", "son2000", "son16", "son_il_est", "son19",
                              "Son_Heures_V", "son0", "son_minutes"},
                             {"son_temp_int", "son29", "son_degres", "son_temp_ext", "son25", "son_degres"},
                             {"son_pression_atmos", "son1000", "son10", "son_hectopascal", "son_stationnaire"},
                             {"son_vent", "son6", "son_kmh", "son_rafale", "son18", "son_kmh"},
                             {"son_secteur", "son_sud_sud_ouest"},
                             {"son_temperature_ressentie", "son27", "son_degres"},
                             {"son_pluie", "son_nulle", "son_humidite", "son42", "son_pourcent"}}));
    pro2.expectUntouched();
}

TEST(Preview, TheAgeOfTheWeatherIsMeasuredFromAt) {
    Station w28;
    ASSERT_TRUE(w28.copySample("lacrosse/ws3600-history.dat", "history.dat"));
    w28.write(settings("W28", "W28_", w28.folder.file("history.dat"), {"TEMPEXT"}, "OLD=1\r\nHEURE=N\r\nDATE=N\r\n"));
    const Clips intro{"son_il_est"};
    // The last record is of 08:30: 60 minutes later it is still spoken, 61 minutes later it is too old.
    Preview r = preview(w28.folder, "--dry-run --at '2005-05-02 09:30'");
    ASSERT_EQ(r.status, 0) << r.errors;
    EXPECT_EQ(r.out, (Clips{"son_il_est", "son_temp_ext", "son4", "son_degres"}));
    r = preview(w28.folder, "--dry-run --at '2005-05-02 09:31'");
    ASSERT_EQ(r.status, 0) << r.errors;
    EXPECT_EQ(r.out, intro);
    w28.expectUntouched();
}

TEST(Preview, WebSourcesAreFetchedFirst) {
    LocalHttpServer server;
    server.serve("/metar/EGYM.TXT", "EGYM 010850Z 08014KT 2500 -SN FEW015 BKN020 M04/M06 Q1007 BLACKYLO1 NOSIG=\n");
    server.serve("/v1/live/110", slurp(std::string(TINTAL_TEST_DATA_DIR) + "/pioupiou/live_110_official_doc.json"));
    Station metar, piu, broken;
    metar.write(settings("METAR", "METAR_", server.url("/metar/EGYM.TXT"),
                         {"TEMPEXT", "PRESATM", "VITVENT", "VITRAFA", "DIRVENT", "TRES", "PLUIE", "HUMIDI"}));
    piu.write(
        settings("PIOUPIOU", "PIOUPIOU_", server.url("/v1/live/110"), {"PRESATM", "VITVENT", "VITRAFA", "DIRVENT"}));
    broken.write(settings("METAR", "METAR_", server.url("/metar/missing.TXT"), {"TEMPEXT", "PRESATM"}));

    // -4 °C, 1007 hPa, 14 kt (25.9 km/h) from 80°, no gust, light snow, dew point -6 °C: wind chill
    // -11.2 °C, humidity 86 %. The report's month and year are those of --at.
    Preview r = preview(metar.folder, "--dry-run --at '2018-03-01 09:00'");
    ASSERT_EQ(r.status, 0) << r.errors;
    EXPECT_EQ(r.out, concat({{"son_jeudi", "son1_premier", "son_mars", "son2000", "son18", "son_il_est", "son9",
                              "Son_Heures_V", "son0", "son_minutes"},
                             {"son_temp_ext", "son_moins", "son4", "son_degres"},
                             {"son_pression_atmos", "son1000", "son7", "son_hectopascal"},
                             {"son_vent", "son26", "son_kmh", "son_secteur", "son_est"},
                             {"son_temperature_ressentie", "son_moins", "son11", "son_degres"},
                             {"son_neige", "son_faible"},
                             {"son_humidite", "son80", "son6", "son_pourcent"}}));
    metar.expectUntouched();

    // No pressure from the beacon; 14 km/h gusting 22.5 (spoken 22) from 292.5°.
    r = preview(piu.folder, "--dry-run --at '2015-08-17 22:10'");
    ASSERT_EQ(r.status, 0) << r.errors;
    EXPECT_EQ(r.out, concat({{"son_lundi", "son17", "son_aout", "son2000", "son15", "son_il_est", "son22",
                              "Son_Heures_Z", "son10", "son_minutes"},
                             {"son_vent", "son14", "son_kmh", "son_rafale", "son22", "son_kmh"},
                             {"son_secteur", "son_ouest"}}));
    piu.expectUntouched();

    // A failed fetch leaves its error in the source window: the time alone, and still a good end.
    r = preview(broken.folder, "--dry-run --at '2018-03-01 09:00'");
    ASSERT_EQ(r.status, 0) << r.errors;
    EXPECT_EQ(r.out.size(), 10u);
    EXPECT_EQ(r.out.back(), "son_minutes");
}

// With --silent, --now lists its clips as the clock does (the time, then the clip) and sounds nothing.
TEST(Preview, NowSilentListsTheClipsAsTheyStart) {
    Station station;
    station.write("[TINTAL V2.4.0]\r\nTINTAL=N\r\nDATE=N\r\nHEURE=N\r\n");
    const Preview r = preview(station.folder, "--now --silent");
    ASSERT_EQ(r.status, 0) << r.errors;
    ASSERT_EQ(r.out.size(), 1u);
    EXPECT_EQ(r.out[0].size(), 19u) << r.out[0];
    EXPECT_EQ(r.out[0].substr(8), " son_il_est");
    EXPECT_EQ(r.out[0][2], ':');
    station.expectUntouched();
}

TEST(Preview, RenderHoldsEachClipOfTheDryRunAndItsGap) {
    Station w28;
    ASSERT_TRUE(w28.copySample("lacrosse/ws3600-history.dat", "history.dat"));
    w28.write(settings("W28", "W28_", w28.folder.file("history.dat"), kAllBoxes));
    const Preview listed = preview(w28.folder, "--dry-run --at '2005-05-02 08:30'");
    ASSERT_EQ(listed.status, 0) << listed.errors;
    ASSERT_GT(listed.out.size(), 30u);  // time and weather

    TempFolder output;
    const std::string wav = output.file("check.wav");
    const Preview rendered = preview(w28.folder, "--render " + quoted(wav) + " --at '2005-05-02 08:30'");
    ASSERT_EQ(rendered.status, 0) << rendered.errors;
    const std::string file = slurp(wav);
    ASSERT_GT(file.size(), 44u);
    std::size_t expected = 0;
    for (const std::string& clip : listed.out) {
        const std::size_t bytes = clipSamples(clip).size();
        ASSERT_GT(bytes, 0u) << clip;
        expected += bytes + 16000 / 20 * 2;  // the clip, then 50 ms of 16-bit silence
    }
    EXPECT_EQ(le32(reinterpret_cast<const std::uint8_t*>(file.data()) + 40), expected);
    EXPECT_EQ(file.size(), 44 + expected);
    w28.expectUntouched();
}

}  // namespace
}  // namespace tintal
