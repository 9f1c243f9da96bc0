// libcurl downloads and the web windows over real HTTP on 127.0.0.1; the program's --read-source.
#include "platform/posix/curl_downloader.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "command_run.h"
#include "http/web_end_to_end.h"

namespace tintal {
namespace {

TINTAL_DOWNLOADER_END_TO_END_TESTS(CurlDownloader, CurlDownloader)

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
                   "piu " + std::string(TINTAL_SOURCE_DIR) + "/../shared/data/pioupiou/live_110_official_doc.json");
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
