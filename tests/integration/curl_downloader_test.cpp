// libcurl downloads and the web windows over real HTTP on 127.0.0.1; the program's --read-source.
#include "platform/posix/curl_downloader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <thread>

#include "command_run.h"
#include "contracts/downloader_contract.h"
#include "platform/posix/posix_event_loop.h"

namespace tintal {

namespace contracts {
INSTANTIATE_TYPED_TEST_SUITE_P(Curl, DownloaderContract, CurlDownloader);
}  // namespace contracts

namespace {

// While a server keeps the transfer waiting, the window thread goes on dispatching: a 100 ms timer
// ticks all along, and the download returns once the transfer has timed out.
TEST(CurlDownloaderOnTheLoop, TheWindowThreadKeepsDispatchingWhileATransferHangs) {
    LocalHttpServer server;
    server.holdSilent("/never");
    TempFolder folder;
    PosixEventLoop loop;
    CurlDownloader downloader(&loop);
    downloader.setTimeouts({500, 1500});
    int ticks = 0;
    loop.startTimer(100, [&] { ++ticks; });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(downloader.download(server.url("/never"), folder.file("metar_web.txt")), DownloadError);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(1400));
    EXPECT_LT(took, std::chrono::seconds(5));
    EXPECT_GE(ticks, 10);
    // And a document still arrives whole through the same path.
    server.serve("/LFPG.TXT", endtoend::kReport);
    downloader.download(server.url("/LFPG.TXT"), folder.file("metar_web.txt"));
    EXPECT_EQ(WebSourceRig::slurp(folder.file("metar_web.txt")), endtoend::kReport);
}

// A stop (from the signal thread) ends a transfer held by the server within a second, and any later one.
TEST(CurlDownloaderOnTheLoop, AStopEndsAHungTransferWithinASecond) {
    LocalHttpServer server;
    server.holdSilent("/never");
    TempFolder folder;
    PosixEventLoop loop;
    CurlDownloader downloader(&loop);
    std::chrono::steady_clock::time_point stoppedAt;
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        stoppedAt = std::chrono::steady_clock::now();
        downloader.stop();
    });
    EXPECT_THROW(downloader.download(server.url("/never"), folder.file("x.txt")), DownloadError);
    const auto ended = std::chrono::steady_clock::now();
    stopper.join();
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(ended - stoppedAt);
    std::cout << "stop to the end of a hung transfer: " << took.count() << " ms\n";
    EXPECT_LT(took, std::chrono::milliseconds(1000));
    EXPECT_FALSE(std::filesystem::exists(folder.file("x.txt.part")));
    server.serve("/LFPG.TXT", endtoend::kReport);
    EXPECT_THROW(downloader.download(server.url("/LFPG.TXT"), folder.file("x.txt")), DownloadError);
}

TEST(CurlDownloaderOnTheLoop, AnAnswerDeclaredOver1MBIsRefusedToo) {
    CurlDownloader downloader;
    endtoend::anAnswerOverOneMegabyteIsRefused(downloader, {"/declared", "/undeclared"});
}

CommandRun readSource(const std::string& folder, const std::string& arguments) {
    return runCommand("cd '" + folder + "' && XDG_DATA_HOME='" + folder + "/xdg' " + TINTAL_BINARY + " --read-source " +
                      arguments + " 2>&1");
}

TEST(ReadSourceCommand, ReadsAnAddressAndWritesTheExports) {
    LocalHttpServer server;
    server.serve("/LFPG.TXT", endtoend::kReport + "\n");
    TempFolder folder;
    const CommandRun r = readSource(folder.path().string(), "metar " + server.url("/LFPG.TXT"));
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("Météo METAR\nCode aérodrome = LFPG\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Vent (km/h) = 22\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Erreur : \n"), std::string::npos) << r.out;
    const std::string beacon = " TEMP 12C = QNH 1013hPa = WS 22kmh = WCT 10C = HUM 77 \r\n";
    EXPECT_EQ(WebSourceRig::slurp(folder.file("metar_cw.txt")), beacon);
    EXPECT_EQ(WebSourceRig::slurp(folder.file("xdg/tintal/weather/metar_cw.txt")), beacon);
}

TEST(ReadSourceCommand, LocalDocumentsAndFailures) {
    TempFolder folder;
    std::ofstream(folder.file("WXNOW.TXT"), std::ios::binary)
        << "Mar 07 2024 14:30\r\n240/012g020t054r000p010P000h77b10130\r\n";
    CommandRun r = readSource(folder.path().string(), "aprs WXNOW.TXT");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("Date : Mar 07 2024 14:30\n"), std::string::npos) << r.out;
    EXPECT_TRUE(std::filesystem::exists(folder.file("aprs_cw.txt")));

    r = readSource(folder.path().string(),
                   "piu " + std::string(TINTAL_TEST_DATA_DIR) + "/pioupiou/live_110_official_doc.json");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("Vent min.(km/h) = 7\n"), std::string::npos) << r.out;

    r = readSource(folder.path().string(), "aprs http://127.0.0.1:" + std::to_string(refusedPort()) + "/x");
    EXPECT_EQ(r.status, 1) << r.out;
    EXPECT_NE(r.out.find("Erreur : File error #1\n"), std::string::npos) << r.out;

    r = readSource(folder.path().string(), "w99 x");
    EXPECT_EQ(r.status, 2) << r.out;
}

}  // namespace
}  // namespace tintal
