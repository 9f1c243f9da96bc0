#pragma once
// A file-fed station window in a test: virtual time, a desktop that answers the file dialog, files on
// disk, the trend threshold the station windows share, and a private folder for the station's files.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fakes/temp_folder.h"
#include "fakes/test_data.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/virtual_event_loop.h"
#include "weather/file_source_window.h"

namespace tintal {

template <typename Window, typename TestDesktop = FrenchDesktop, typename TestFiles = StdFiles>
struct StationWindowRig {
    explicit StationWindowRig(double now)
        : loop(now), window({loop, desktop, files, threshold, [] { return true; }, {}}) {}

    // Writes the file and makes it the window's, as the settings loader does; returns its path.
    std::string use(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const std::string path = folder.write(name, bytes);
        window.setFile(path);
        return path;
    }
    // The same, read at once.
    std::string load(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const std::string path = use(name, bytes);
        window.read();
        return path;
    }
    // A real file of tests/data, copied into the folder as `name` (where a user keeps it) and read;
    // false when the copy cannot be made.
    bool loadTestData(const std::string& data, const std::string& name) {
        if (!copyTestData(data, folder.file(name))) return false;
        window.setFile(folder.file(name));
        window.read();
        return true;
    }
    // The user picks the file in the "Parcourir" dialog.
    void choose(const std::string& path) {
        desktop.nextChosenFile = path;
        window.ButtonParcourir.click();
    }
    // The same, for a file the window takes: the dialog offers `filter`, the window reads the file
    // it shows in its file field, without an error.
    void expectChosen(const std::string& path, const std::string& filter) {
        choose(path);
        EXPECT_EQ(desktop.lastFilter, filter);
        EXPECT_EQ(window.reading().locator, path);
        EXPECT_EQ(window.EditDat.text(), path);
        EXPECT_EQ(window.StaticTextErreur.caption(), "");
    }
    // The user picks `name`, missing from the folder: the window drops its file and shows the error.
    void expectMissingChoiceRefused(const std::string& name) {
        choose(folder.file(name));
        EXPECT_EQ(window.reading().locator, "");
        EXPECT_EQ(window.EditDat.text(), "");
        EXPECT_EQ(window.Editdatemeteo.text(), "");
        EXPECT_EQ(window.StaticTextErreur.caption(), "Erreur fichier");
    }

    VirtualEventLoop loop;
    TestDesktop desktop;
    TestFiles files;
    SharedTrendThreshold threshold;
    TempFolder folder;
    Window window;
};

}  // namespace tintal
