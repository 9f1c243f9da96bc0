// The Linux program as a user runs it.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/posix/embedded_clip_store.h"

namespace tintal {
namespace {

struct ProgramRun {
    int status;
    std::string out;
};

ProgramRun run(const std::string& arguments) {
    const std::string command = std::string(TINTAL_BINARY) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ProgramRun result{-1, {}};
    if (!pipe) return result;
    char buffer[4096];
    while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) result.out.append(buffer, n);
    result.status = WEXITSTATUS(pclose(pipe));
    return result;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

std::uint32_t le32(const std::uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24); }

// The sample data of a WAV file's "data" chunk (empty when there is none).
std::vector<std::uint8_t> dataChunk(const std::uint8_t* p, std::size_t size) {
    for (std::size_t i = 12; i + 8 <= size; i += 8 + le32(p + i + 4) + (le32(p + i + 4) & 1)) {
        if (std::memcmp(p + i, "data", 4) == 0) return std::vector<std::uint8_t>(p + i + 8, p + i + 8 + le32(p + i + 4));
    }
    return {};
}

std::vector<std::uint8_t> clipSamples(const std::string& name) {
    const auto clip = EmbeddedClipStore().find(name);
    return dataChunk(clip->data(), clip->size());
}

const std::vector<std::string> kExampleClips = {"son_mardi", "son1_premier", "son_decembre", "son2000", "son26",
                                                "son_il_est", "son21_une", "son_heures_N", "son1_une", "son_minutes"};

TEST(Program, DryRunPrintsTheClipsOfTheAnnouncement) {
    const ProgramRun r = run("--dry-run --at '2026-12-01 21:01'");
    ASSERT_EQ(r.status, 0) << r.out;
    const auto printed = lines(r.out);
    ASSERT_EQ(printed.size(), 11u) << r.out;
    EXPECT_EQ(std::filesystem::path(printed[0]).filename(), "tintal.wav");
    EXPECT_EQ(std::vector<std::string>(printed.begin() + 1, printed.end()), kExampleClips);
}

TEST(Program, RefusesABadCommandLineWithItsReason) {
    const ProgramRun r = run("--period 7");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.out.find("--period takes 0, 5, 10, 15, 20, 30 or 60 minutes"), std::string::npos) << r.out;
    EXPECT_EQ(run("--help").status, 0);
}

// The render is the announcement as heard: each clip's samples, then the 50 ms gap.
TEST(Program, RenderWritesEachClipThenItsGap) {
    const auto path = std::filesystem::temp_directory_path() / "tintal_render_test.wav";
    const ProgramRun r = run("--render " + path.string() + " --at '2026-12-01 21:01'");
    ASSERT_EQ(r.status, 0) << r.out;
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::filesystem::remove(path);
    ASSERT_GT(file.size(), 44u);
    ASSERT_EQ(le32(file.data() + 40), file.size() - 44);

    std::ifstream cuckooFile(std::filesystem::path(TINTAL_BINARY).parent_path() / "tintal.wav", std::ios::binary);
    const std::vector<std::uint8_t> cuckooWav((std::istreambuf_iterator<char>(cuckooFile)), std::istreambuf_iterator<char>());
    std::vector<std::vector<std::uint8_t>> expected{dataChunk(cuckooWav.data(), cuckooWav.size())};
    ASSERT_GT(expected[0].size(), 1000u);
    for (const auto& name : kExampleClips) expected.push_back(clipSamples(name));

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
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("tintal_cfg_" + std::to_string(getpid()));
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
    EXPECT_EQ(saved.rfind("[TINTAL V2.4.0]\r\nRECORDER=\r\nFICHIER_TINTAL=tintal.wav\r\nPERIOD=3\r\nBALANCE=", 0), 0u) << saved;
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
