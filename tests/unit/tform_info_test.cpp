// The new-version check, by hand and at start-up, over a downloader that serves a chosen answer.
#include "shell/tform_info.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "fakes/temp_folder.h"
#include "shell/publisher.h"

namespace tintal {
namespace {

struct ServedDownloader : Downloader {
    void download(const std::string& url, const std::string& path) override {
        urls.push_back(url);
        if (failure) throw DownloadError("Le nom ou l'adresse du serveur n'a pas pu être résolu");
        std::ofstream(path, std::ios::binary) << document;
    }
    void purgeCacheEntry(const std::string&) override {}
    std::string document;
    bool failure = false;
    std::vector<std::string> urls;
};

struct VersionCheck : ::testing::Test {
    TempFolder folder;
    ServedDownloader web;
    FrenchDesktop desktop;
    StdFiles files;
    TFormInfo info{web, files, desktop, folder.file("")};

    std::vector<std::string> texts() const { return desktop.messages; }
    const std::string newer = "Une version plus récente de TINTAL est disponible sur " + kDownloadPage;
};

TEST_F(VersionCheck, ANewerVersionBeepsAndSaysWhereFromTheButtonAndAtStart) {
    web.document = "quilven=1.0.0\r\ntintal=2.4.1\r\n";
    info.BitBtnNewrelease.click();
    info.CheckVersionAtStart();
    EXPECT_EQ(texts(), (std::vector<std::string>{newer, newer}));
    EXPECT_EQ(desktop.beeps, 2);
    EXPECT_EQ(web.urls.front(), kVersionsAddress);
    EXPECT_NE(web.urls.front().find("/index_fichiers/versions.txt"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder.file("versions.txt")));
}

TEST_F(VersionCheck, UpToDateIsSaidOnlyWhenAsked) {
    for (const char* line : {"tintal=2.4.0", "tintal=2.10.0", "tintal= 2.5.0"}) {
        web.document = line;
        info.CheckVersionAtStart();
        info.BitBtnNewrelease.click();
    }
    EXPECT_EQ(texts(), (std::vector<std::string>(3, "Vous êtes à jour")));
    EXPECT_EQ(desktop.beeps, 0);
}

TEST_F(VersionCheck, NoAnswerIsAnInternetFailureOnlyWhenAsked) {
    for (const char* document : {"Tintal=9.9.9\r\n", "<html><body>tintal=9.9.9</body></html>", "", "ti"}) {
        web.document = document;
        info.CheckVersionAtStart();
        info.BitBtnNewrelease.click();
        EXPECT_FALSE(std::filesystem::exists(folder.file("versions.txt"))) << document;
    }
    web.failure = true;
    info.CheckVersionAtStart();
    info.BitBtnNewrelease.click();
    EXPECT_EQ(texts(), (std::vector<std::string>(5, "Echec Internet")));
    EXPECT_EQ(desktop.messageKinds.back(), Desktop::MessageKind::Warning);
}

}  // namespace
}  // namespace tintal
