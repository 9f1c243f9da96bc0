#pragma once
// The new-version check against a versions file served over real HTTP on 127.0.0.1; the libcurl run
// and the WinInet run share these checks.
#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/temp_folder.h"
#include "http/local_http_server.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "shell/tform_info.h"

namespace tintal::endtoend {

// What the button says for each versions file the publisher's site may serve.
inline void theVersionCheckReadsTheServedList(Downloader& downloader) {
    LocalHttpServer server;
    TempFolder folder;
    FrenchDesktop desktop;
    StdFiles files;
    TFormInfo info(downloader, files, desktop, folder.file(""), server.url("/index_fichiers/versions.txt"));
    const struct {
        const char* list;
        const char* said;
    } cases[] = {{"quilven=1.0.0\r\ntintal=2.4.1\r\n", "Une version plus récente"},
                 {"tintal=2.4.0\r\n", "Vous êtes à jour"},
                 {"tintal=2.10.0\r\n", "Vous êtes à jour"},
                 {"tintal= 2.5.0\r\n", "Vous êtes à jour"},
                 {"Tintal=9.9.9\r\n", "Echec Internet"},
                 {"<html><body>tintal=9.9.9</body></html>", "Echec Internet"}};
    for (const auto& c : cases) {
        server.serve("/index_fichiers/versions.txt", c.list);
        info.BitBtnNewrelease.click();
        ASSERT_FALSE(desktop.messages.empty());
        EXPECT_EQ(desktop.messages.back().rfind(c.said, 0), 0u) << c.list << " gave " << desktop.messages.back();
        EXPECT_FALSE(std::filesystem::exists(folder.file("versions.txt"))) << c.list;
    }
    server.serve("/index_fichiers/versions.txt", "tintal=3.0.0\r\n");
    const std::size_t before = desktop.messages.size();
    TFormInfo elsewhere(downloader, files, desktop, folder.file(""), server.url("/missing.txt"));
    elsewhere.CheckVersionAtStart();  // a 404 at start-up says nothing
    EXPECT_EQ(desktop.messages.size(), before);
    elsewhere.BitBtnNewrelease.click();
    EXPECT_EQ(desktop.messages.back(), "Echec Internet");
}

}  // namespace tintal::endtoend
