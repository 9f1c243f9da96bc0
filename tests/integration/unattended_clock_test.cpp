// The Linux clock left alone on a station: on time while a weather server hangs, stopped at once and
// cleanly by a service manager or a closing terminal, and never hung or aborted by a bad path.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "fakes/temp_folder.h"
#include "fakes/web_source_rig.h"
#include "http/local_http_server.h"
#include "integration/program_process.h"

namespace tintal {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::vector<std::string> privateEnv(const TempFolder& folder) {
    return {"HOME=" + folder.path().string(), "XDG_DATA_HOME=" + folder.file("xdg"),
            "XDG_CONFIG_HOME=" + folder.file("config")};
}

void writeFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

TEST(UnattendedClock, AStopDuringAHungDownloadEndsTheClockWithinASecond) {
    LocalHttpServer server;
    server.holdSilent("/metar");
    TempFolder folder;
    writeFile(folder.file("tintal.ini"), "[TINTAL V2.4.0]\r\nPERIOD=1\r\nMETEO=METAR\r\nMETAR_VITVENT=Y\r\nMETAR_DAT=" +
                                             server.url("/metar") + "\r\n");
    ProgramProcess clock(TINTAL_BINARY, {"--silent", "--dir", folder.path().string()}, privateEnv(folder));
    ASSERT_TRUE(clock.started());
    ASSERT_TRUE(clock.lineWith("settings in", 15s)) << clock.transcript;
    // The weather request is made and left unanswered; the transfer would wait 30 s for it.
    const auto asked = Clock::now() + 10s;
    while (server.requests().empty() && Clock::now() < asked) std::this_thread::sleep_for(20ms);
    ASSERT_FALSE(server.requests().empty()) << clock.transcript;
    std::this_thread::sleep_for(500ms);

    const auto stop = Clock::now();
    clock.signal(SIGTERM);
    const auto status = clock.wait(5s);
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - stop);
    ASSERT_TRUE(status) << "still running 5 s after SIGTERM\n" << clock.transcript;
    std::cout << "SIGTERM to exit during a hung download: " << took.count() << " ms\n";
    EXPECT_EQ(*status, 0);
    EXPECT_LT(took, 1000ms);
    const std::string ini = WebSourceRig::slurp(folder.file("tintal.ini"));
    EXPECT_NE(ini.find("\r\nPERIOD=1\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("\r\nMETAR_DAT=" + server.url("/metar") + "\r\n"), std::string::npos) << ini;
}

TEST(UnattendedClock, AStopBeforeTheLoadLeavesTheSettingsAndSighupSavesThemAfter) {
    const std::string user = "[TINTAL V2.4.0]\r\nPERIOD=3\r\nPLAGE_DEBUT=7\r\n";
    for (auto delay : {20ms, 150ms}) {
        TempFolder folder;
        writeFile(folder.file("tintal.ini"), user);
        ProgramProcess clock(TINTAL_BINARY, {"--silent", "--dir", folder.path().string()}, privateEnv(folder));
        std::this_thread::sleep_for(delay);
        clock.signal(SIGTERM);
        ASSERT_TRUE(clock.wait(5s));
        EXPECT_EQ(WebSourceRig::slurp(folder.file("tintal.ini")), user)
            << "stopped " << delay.count() << " ms after start";
    }
    TempFolder folder;
    writeFile(folder.file("tintal.ini"), user);
    ProgramProcess clock(TINTAL_BINARY, {"--silent", "--dir", folder.path().string()}, privateEnv(folder));
    ASSERT_TRUE(clock.lineWith("settings in", 10s)) << clock.transcript;
    std::this_thread::sleep_for(1500ms);  // the load comes half a second after the start
    clock.signal(SIGHUP);
    const auto status = clock.wait(5s);
    ASSERT_TRUE(status) << clock.transcript;
    EXPECT_EQ(*status, 0);
    const std::string ini = WebSourceRig::slurp(folder.file("tintal.ini"));
    EXPECT_NE(ini.find("\r\nRECORDER=\r\n"), std::string::npos) << "not saved:\n" << ini;
    EXPECT_NE(ini.find("\r\nPERIOD=3\r\nPLAGE_DEBUT=7\r\n"), std::string::npos) << ini;
}

TEST(UnattendedClock, ASettingsFileThatCannotBeReadIsKeptAndTheCheckSaysSo) {
    TempFolder folder;
    const std::string ini = folder.file("tintal.ini");
    ASSERT_EQ(mkfifo(ini.c_str(), 0600), 0);
    {
        ProgramProcess check(TINTAL_BINARY, {"--save-config", "--dir", folder.path().string()}, privateEnv(folder));
        const auto status = check.wait(5s);
        ASSERT_TRUE(status) << "a FIFO held the check";
        EXPECT_EQ(*status, 1);
        while (check.nextLine(100ms)) {
        }
        EXPECT_NE(check.transcript.find("cannot be read"), std::string::npos) << check.transcript;
    }
    ProgramProcess clock(TINTAL_BINARY, {"--silent", "--dir", folder.path().string()}, privateEnv(folder));
    ASSERT_TRUE(clock.lineWith("Err: tintal.ini", 10s)) << clock.transcript;
    clock.signal(SIGTERM);
    ASSERT_TRUE(clock.wait(5s));
    struct stat status {};
    ASSERT_EQ(stat(ini.c_str(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode)) << "the file was replaced";

    // A file that was read but holds lines the program cannot take: named, status 1.
    TempFolder other;
    writeFile(other.file("tintal.ini"), "PERIOD=3\r\nPERIODE=4\r\nPLAGE_FIN=99\r\n");
    ProgramProcess check(TINTAL_BINARY, {"--save-config", "--dir", other.path().string()}, privateEnv(other));
    ASSERT_EQ(check.wait(10s), 1);
    while (check.nextLine(100ms)) {
    }
    EXPECT_NE(check.transcript.find("tintal.ini:2: unknown key: PERIODE=4"), std::string::npos) << check.transcript;
    EXPECT_NE(check.transcript.find("tintal.ini:3: value not valid for that key: PLAGE_FIN=99"), std::string::npos);
}

TEST(UnattendedClock, EveryReaderAnswersAFolderAFifoAndADeviceAtOnce) {
    TempFolder folder;
    std::filesystem::create_directory(folder.file("folder"));
    ASSERT_EQ(mkfifo(folder.file("fifo").c_str(), 0600), 0);
    for (const std::string& path : {folder.file("folder"), folder.file("fifo"), std::string("/dev/zero")}) {
        for (const char* kind : {"w23", "w28", "pro2", "mon", "metar", "aprs", "piu"}) {
            SCOPED_TRACE(std::string(kind) + " " + path);
            ProgramProcess read(TINTAL_BINARY, {"--read-source", kind, path}, privateEnv(folder));
            const auto status = read.wait(5s);
            ASSERT_TRUE(status) << "still reading after 5 s";
            EXPECT_EQ(*status, 1);  // an error text, not an abort (134) nor a figure
        }
    }
}

}  // namespace
}  // namespace tintal
