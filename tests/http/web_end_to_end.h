#pragma once
// The download adapters and the three web windows over real HTTP on 127.0.0.1; the libcurl run and
// the WinInet run share these checks.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "fakes/web_source_rig.h"
#include "http/local_http_server.h"
#include "http/version_check_end_to_end.h"
#include "weather/web/tform_meteo_aprs.h"
#include "weather/web/tform_meteo_metar.h"
#include "weather/web/tform_meteo_piu.h"

namespace tintal::endtoend {

inline const std::string kReport = "LFPG 071430Z 24012KT 9999 FEW040 12/08 Q1013 NOSIG";

inline std::string allBytes(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7 + i / 1024) & 0xFF);
    return bytes;
}

inline void documentsArriveByteForByte(Downloader& downloader) {
    LocalHttpServer server;
    TempFolder folder;
    const std::string big = allBytes(200 * 1024 + 17);
    server.serve("/big.bin", big);
    server.serve("/LFPG.TXT", kReport + "\n");
    downloader.download(server.url("/big.bin"), folder.file("big.bin"));
    EXPECT_EQ(WebSourceRig::slurp(folder.file("big.bin")), big);
    downloader.download(server.url("/LFPG.TXT"), folder.file("metar_web.txt"));
    EXPECT_EQ(WebSourceRig::slurp(folder.file("metar_web.txt")), kReport + "\n");
    EXPECT_FALSE(std::filesystem::exists(folder.file("metar_web.txt.part")));
    // The address is its own user agent, and no cached copy is wanted.
    const std::string request = server.requests().back();
    EXPECT_NE(request.find("User-Agent: " + server.url("/LFPG.TXT")), std::string::npos) << request;
    EXPECT_NE(request.find("no-cache"), std::string::npos) << request;
}

inline void failuresLeaveThePreviousFile(Downloader& downloader) {
    LocalHttpServer server;
    TempFolder folder;
    const std::string target = folder.file("metar_web.txt");
    std::ofstream(target, std::ios::binary) << "previous";
    EXPECT_THROW(downloader.download(server.url("/missing"), target), DownloadError);
    EXPECT_THROW(downloader.download("http://127.0.0.1:" + std::to_string(refusedPort()) + "/x", target),
                 DownloadError);
    EXPECT_EQ(WebSourceRig::slurp(target), "previous");
    EXPECT_FALSE(std::filesystem::exists(target + ".part"));
}

inline void aSilentServerEndsWithinTheTimeout(Downloader& downloader) {
    LocalHttpServer server;
    TempFolder folder;
    server.holdSilent("/never");
    downloader.setTimeouts({300, 1000});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(downloader.download(server.url("/never"), folder.file("x.txt")), DownloadError);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(elapsed, std::chrono::seconds(5));
    EXPECT_FALSE(std::filesystem::exists(folder.file("x.txt")));
    downloader.setTimeouts({});
}

// A wrong address or a hostile server may answer without end: past 1 MB the answer is refused, whether
// its length was declared or not, and nothing of it stays on disk.
// paths: "/declared" (a Content-Length of 100 MB), "/undeclared" (ended by the close).
inline void anAnswerOverOneMegabyteIsRefused(Downloader& downloader,
                                             std::initializer_list<const char*> paths = {"/undeclared"}) {
    LocalHttpServer server;
    TempFolder folder;
    constexpr std::uint64_t k100MB = 100ull * 1024 * 1024;
    server.serveGenerated("/declared", k100MB, true);
    server.serveGenerated("/undeclared", k100MB, false);
    server.serveGenerated("/justfits", static_cast<std::uint64_t>(kMaxDocumentBytes), false);
    const std::string target = folder.file("PIU_web.txt");
    std::ofstream(target, std::ios::binary) << "previous";
    for (const char* path : paths) {
        SCOPED_TRACE(path);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_THROW(downloader.download(server.url(path), target), DocumentTooLarge);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
        EXPECT_EQ(WebSourceRig::slurp(target), "previous");
        EXPECT_FALSE(std::filesystem::exists(target + ".part"));
    }
    downloader.download(server.url("/justfits"), target);
    EXPECT_EQ(std::filesystem::file_size(target), static_cast<std::uintmax_t>(kMaxDocumentBytes));
}

inline void theWindowsReadOverHttp(Downloader& downloader) {
    LocalHttpServer server;
    server.serve("/LFPG.TXT", kReport + "\r\n");
    server.serve("/allmetsat/metar.php?icao=LFPG",
                 "<html>\n<p>TAF: LFPG 071100Z 0712/0818 24010KT</p>\n<p><b>METAR:</b> " + kReport + "</p>\n</html>\n");
    server.serve("/aviationweather/metar?ids=KJFK", "<pre>\nKJFK 071451Z 31009KT 10SM 05/M06 A3021\n</pre>\n");
    server.serve("/aprs/F4ABC",
                 "<html>\n<td><span class=\"raw_line\">2024-03-07 14:30:12 CET: F4ABC&gt;APRS:"
                 "@071330z4903.50N/00203.50E_240/012g020t054r000p010P000h77b10130</span></td>\n</html>\n");
    server.serve("/api/live/110",
                 "{\n \"data\": {\n  \"meta\": {\n   \"name\": \"Plage\"\n  },\n  \"measurements\": {\n"
                 "   \"date\": \"2024-03-07T14:30:12.000Z\",\n   \"pressure\": 1013.2,\n"
                 "   \"wind_heading\": 247.5,\n   \"wind_speed_avg\": 6.25,\n"
                 "   \"wind_speed_max\": 10.25,\n   \"wind_speed_min\": 3\n  }\n }\n}\n");
    server.serveGenerated("/huge", 100ull * 1024 * 1024, false);
    const std::string refused = "http://127.0.0.1:" + std::to_string(refusedPort());

    auto read = [&](WebSourceWindow& window, const std::string& address) {
        window.EditDat.setText(address);
        window.EditDatKeyPress('\r');
        return window.errorText();
    };
    struct Rig : WebSourceRig {
        explicit Rig(Downloader& real) { realDownloader = &real; }
    };
    {
        Rig rig(downloader);
        TFormMeteoMETAR metar(rig.context());
        EXPECT_EQ(read(metar, server.url("/LFPG.TXT")), "");
        EXPECT_EQ(metar.CheckBoxVent.caption(), "Vent (km/h) = 22");
        EXPECT_EQ(rig.workFile("metar_cw.txt"), " TEMP 12C = QNH 1013hPa = WS 22kmh = WCT 10C = HUM 77 \r\n");
        EXPECT_EQ(read(metar, server.url("/allmetsat/metar.php?icao=LFPG") + " //Roissy"), "");
        EXPECT_EQ(rig.workFile("metar_web.txt"), kReport + "\r\n");
        EXPECT_EQ(read(metar, server.url("/aviationweather/metar?ids=KJFK")), "");
        EXPECT_EQ(metar.LabelICAO.caption(), "Code aérodrome = KJFK");
        EXPECT_EQ(read(metar, server.url("/missing.TXT")), "Erreur fichier #102");
        EXPECT_EQ(read(metar, refused + "/LFPG.TXT"), "Erreur fichier #102");
        // An answer too large has a code of its own in every source.
        EXPECT_EQ(read(metar, server.url("/huge")), "Erreur fichier #9");
        EXPECT_FALSE(std::filesystem::exists(rig.work.file("metar_web.txt.part")));
        EXPECT_TRUE(metar.TimerMeteo.enabled());
    }
    {
        Rig rig(downloader);
        TFormMeteoAPRS aprs(rig.context());
        EXPECT_EQ(read(aprs, server.url("/aprs/F4ABC")), "");
        EXPECT_EQ(aprs.CheckBoxDire.caption(), "Direction (°) = 240");
        EXPECT_EQ(aprs.Editdatemeteo.text(), "2024-03-07 14:30:12");
        EXPECT_EQ(read(aprs, refused + "/aprs/F4ABC"), "File error #1");
        EXPECT_EQ(read(aprs, server.url("/aprs/nobody")), "File error #1");
        EXPECT_EQ(read(aprs, server.url("/huge")), "File error #9");
    }
    {
        Rig rig(downloader);
        TFormMeteoPIU piu(rig.context());
        EXPECT_EQ(read(piu, server.url("/api/live/110")), "");
        EXPECT_EQ(piu.Labelnomstation.caption(), "Plage");
        EXPECT_EQ(piu.CheckBoxVent.caption(), "Vent (km/h) = 6");
        EXPECT_EQ(piu.CheckBoxPatm.caption(), "P atm.(hPa) = 1013,0");
        EXPECT_EQ(read(piu, refused + "/api/live/110"), "Erreur fichier #1");
        EXPECT_EQ(read(piu, server.url("/huge")), "Erreur fichier #9");
    }
}

}  // namespace tintal::endtoend
