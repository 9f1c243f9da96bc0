// The Linux program as a user runs it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "clip_samples.h"
#include "command_run.h"
#include "fakes/temp_folder.h"

namespace tintal {
namespace {

using ProgramRun = CommandRun;

ProgramRun run(const std::string& arguments) {
    return runCommand(std::string(TINTAL_BINARY) + " " + arguments + " 2>&1");
}

std::vector<std::string> lines(const std::string& text) { return outputLines(text); }

const std::vector<std::string> kExampleClips = {"son_mardi", "son1_premier", "son_decembre", "son2000",
                                                "son26",     "son_il_est",   "son21_une",    "son_heures_N",
                                                "son1_une",  "son_minutes"};

TEST(Program, DryRunPrintsTheClipsOfTheAnnouncement) {
    const TempFolder station;  // no settings: the defaults, whatever the user's own folder holds
    const ProgramRun r = run("--dir " + station.path().string() + " --dry-run --at '2026-12-01 21:01'");
    ASSERT_EQ(r.status, 0) << r.out;
    const auto printed = lines(r.out);
    ASSERT_EQ(printed.size(), 11u) << r.out;
    EXPECT_EQ(std::filesystem::path(printed[0]).filename(), "tintal.wav");
    EXPECT_EQ(std::vector<std::string>(printed.begin() + 1, printed.end()), kExampleClips);
    EXPECT_FALSE(std::filesystem::exists(station.path() / "tintal.ini"));  // a preview writes no settings
}

TEST(Program, RefusesABadCommandLineWithItsReason) {
    const ProgramRun r = run("--period 7");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.out.find("--period takes 0, 5, 10, 15, 20, 30 or 60 minutes"), std::string::npos) << r.out;
    EXPECT_EQ(run("--help").status, 0);
}

std::vector<std::uint8_t> readWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Renders the 21:01 announcement with these extra arguments and checks it is the cuckoo and the
// example clips, each followed by the 50 ms gap; replace gives the samples of clips from elsewhere.
void expectRender(const std::string& arguments, const std::map<std::string, std::vector<std::uint8_t>>& replace) {
    const auto path =
        std::filesystem::temp_directory_path() / ("tintal_render_test" + std::to_string(getpid()) + ".wav");
    const ProgramRun r = run("--render " + path.string() + " --at '2026-12-01 21:01' " + arguments);
    ASSERT_EQ(r.status, 0) << r.out;
    const std::vector<std::uint8_t> file = readWhole(path);
    std::filesystem::remove(path);
    ASSERT_GT(file.size(), 44u);
    ASSERT_EQ(le32(file.data() + 40), file.size() - 44);

    const auto cuckooWav = readWhole(std::filesystem::path(TINTAL_BINARY).parent_path() / "tintal.wav");
    std::vector<std::vector<std::uint8_t>> expected{dataChunk(cuckooWav.data(), cuckooWav.size())};
    ASSERT_GT(expected[0].size(), 1000u);
    for (const auto& name : kExampleClips) {
        expected.push_back(replace.count(name) != 0 ? replace.at(name) : clipSamples(name));
    }

    const std::size_t gapBytes = 16000 / 20 * 2;  // 50 ms of 16-bit samples
    std::size_t at = 44;
    for (std::size_t k = 0; k < expected.size(); ++k) {
        ASSERT_LE(at + expected[k].size() + gapBytes, file.size()) << k;
        EXPECT_TRUE(std::equal(expected[k].begin(), expected[k].end(), file.begin() + at)) << "clip " << k;
        at += expected[k].size();
        EXPECT_TRUE(std::all_of(file.begin() + at, file.begin() + at + gapBytes, [](std::uint8_t b) { return b == 0; }))
            << "gap after clip " << k;
        at += gapBytes;
    }
    EXPECT_EQ(at, file.size());
}

// The render is the announcement as heard: each clip's samples, then the 50 ms gap.
TEST(Program, RenderWritesEachClipThenItsGap) {
    const TempFolder station;  // no settings: the defaults, whatever the user's own folder holds
    expectRender("--dir " + station.path().string(), {});
}

// A relative WAV path is taken from where the command was typed, not from the working folder.
TEST(Program, RenderWritesARelativePathWhereTheCommandRuns) {
    const TempFolder station, here;
    const ProgramRun r = runCommand("cd '" + here.path().string() + "' && " + TINTAL_BINARY + " --dir '" +
                                    station.path().string() + "' --render out.wav --at '2026-12-01 21:01' 2>&1");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(std::filesystem::exists(here.path() / "out.wav"));
    EXPECT_FALSE(std::filesystem::exists(station.path() / "out.wav"));
}

// A 16 kHz mono recording of the given samples.
std::vector<std::uint8_t> monoWav(const std::vector<std::uint8_t>& samples) {
    std::vector<std::uint8_t> out;
    const auto put = [&out](const char* id) { out.insert(out.end(), id, id + 4); };
    const auto put32 = [&out](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    put("RIFF"), put32(36 + static_cast<std::uint32_t>(samples.size())), put("WAVE"), put("fmt "), put32(16);
    put32(1 | (1 << 16)), put32(16000), put32(32000), put32(2 | (16 << 16)), put("data");
    put32(static_cast<std::uint32_t>(samples.size()));
    out.insert(out.end(), samples.begin(), samples.end());
    return out;
}

TEST(Program, AVoiceFolderReplacesExactlyItsClips) {
    const auto dir = std::filesystem::temp_directory_path() / ("tintal_voice_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir / "voix");
    std::vector<std::uint8_t> own(6400);
    for (std::size_t i = 0; i < own.size(); ++i) own[i] = static_cast<std::uint8_t>(i * 7 + 1);
    std::ofstream(dir / "voix" / "Son_Il_Est.WAV", std::ios::binary)
        .write(reinterpret_cast<const char*>(monoWav(own).data()), static_cast<std::streamsize>(monoWav(own).size()));
    std::ofstream(dir / "voix" / "SON5.wav") << "not a recording";
    expectRender("--dir " + dir.string(), {{"son_il_est", own}});

    const ProgramRun check = run("--check-voice " + (dir / "voix").string());
    EXPECT_EQ(check.status, 1) << check.out;  // one unusable file
    EXPECT_NE(check.out.find("replaced (1): SON_IL_EST\n"), std::string::npos) << check.out;
    EXPECT_NE(check.out.find("missing (built in) (149): SON0 SON1 "), std::string::npos) << check.out;
    EXPECT_NE(check.out.find("unusable (1):\n  SON5.wav: "), std::string::npos) << check.out;
    std::filesystem::remove(dir / "voix" / "SON5.wav");
    EXPECT_EQ(run("--check-voice " + (dir / "voix").string()).status, 0);
    EXPECT_EQ(run("--check-voice " + (dir / "nothing").string()).status, 1);
    std::filesystem::remove_all(dir);
}

TEST(Program, AMissingSoundCardIsOneClearLine) {
    const auto dir = std::filesystem::temp_directory_path() / ("tintal_nocard_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "asound.conf")
        << "pcm.!default { type hw card 29 device 0 }\nctl.!default { type hw card 29 }\n";
    const std::string env = "ALSA_CONFIG_PATH=/usr/share/alsa/alsa.conf:" + (dir / "asound.conf").string() + " ";
    const std::string command = env + TINTAL_BINARY + " --now --dir " + dir.string() + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    char buffer[4096];
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    EXPECT_EQ(WEXITSTATUS(pclose(pipe)), 1);
    EXPECT_EQ(out.find("ALSA lib"), std::string::npos) << out;
    const auto advice = out.find("tintal: no sound output answers on the ALSA device \"default\"");
    ASSERT_NE(advice, std::string::npos) << out;
    EXPECT_NE(out.find("--list-devices", advice), std::string::npos) << out;
    EXPECT_NE(out.find("--render", advice), std::string::npos) << out;
    EXPECT_EQ(out.find("did not complete"), std::string::npos) << out;
    std::filesystem::remove_all(dir);
}

TEST(Program, SerialPortChecks) {
    const ProgramRun list = run("--list-ports");
    ASSERT_EQ(list.status, 0) << list.out;
    const auto ports = lines(list.out);
    ASSERT_FALSE(ports.empty());
    EXPECT_EQ(ports.front(), "No COM");
    // A mapped port with no device behind it: the error, and nothing claims to have keyed.
    const ProgramRun absent = run("--test-ptt COM127");
    EXPECT_EQ(absent.status, 1);
    EXPECT_NE(absent.out.find("Erreur port COM"), std::string::npos) << absent.out;
    EXPECT_EQ(absent.out.find("DTR on"), std::string::npos);
    EXPECT_EQ(run("--test-ptt COM0").status, 2);
}

}  // namespace
}  // namespace tintal

namespace tintal {
namespace {

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(Program, SaveConfigBringsTheSettingsBackInTheirOrderAndLeavesTheFileReadOnly) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("tintal_cfg_" + std::to_string(getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "tintal.ini", std::ios::binary)
        << "[TINTAL V2.4.0]\r\nPERIOD=3\r\nplage_debut=7\r\nMETAR_DAT=https://metar.example/?ids=LFPG&x=1\r\n"
           "METEO=METAR\r\nAPRS_DGF=N\r\nCOM=0\r\n";
    std::filesystem::permissions(dir / "tintal.ini", std::filesystem::perms::owner_read);
    const ProgramRun r = run("--dir " + dir.string() + " --save-config");
    // The lower-case key is not one: named, and the check ends with status 1; the rest is saved.
    ASSERT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.out.find("tintal.ini:3: unknown key: plage_debut=7"), std::string::npos) << r.out;
    const std::string saved = fileText((dir / "tintal.ini").string());
    EXPECT_EQ(saved.rfind("[TINTAL V2.4.0]\r\nRECORDER=\r\nFICHIER_TINTAL=tintal.wav\r\nPERIOD=3\r\nBALANCE=", 0), 0u)
        << saved;
    EXPECT_EQ(saved.find("PLAGE_DEBUT"), std::string::npos);  // the lower-case key was not one
    EXPECT_NE(saved.find("\r\nMETEO=METAR\r\n"), std::string::npos);
    EXPECT_NE(saved.find("\r\nMETAR_DAT=https://metar.example/?ids=LFPG&x=1\r\n"), std::string::npos);
    EXPECT_NE(saved.find("\r\nAPRS_DGF=N\r\n"), std::string::npos);
    EXPECT_EQ(saved.substr(saved.size() - 9), "\r\nCOM=0\r\n");  // the last line, and every line ends with CR LF
    EXPECT_EQ(std::filesystem::status(dir / "tintal.ini").permissions() & std::filesystem::perms::owner_write,
              std::filesystem::perms::none);
    EXPECT_FALSE(std::filesystem::exists(dir / "tintal.~in"));
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace tintal
