// The session autostart entry on a real file system.
#include "platform/posix/xdg_autostart.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "fakes/temp_folder.h"

namespace tintal {
namespace {

struct ConfigHome {
    explicit ConfigHome(const std::string& path) {
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) previous = old;
        setenv("XDG_CONFIG_HOME", path.c_str(), 1);
    }
    ~ConfigHome() {
        if (previous.empty())
            unsetenv("XDG_CONFIG_HOME");
        else
            setenv("XDG_CONFIG_HOME", previous.c_str(), 1);
    }
    std::string previous;
};

TEST(XdgAutostart, WritesTheRunningProgramsPathThenRemovesTheEntry) {
    TempFolder folder;
    ConfigHome home(folder.file("config"));
    XdgAutostart autostart("--dir \"/home/f4abc/tintal\"");
    ASSERT_EQ(autostart.set(true), "");
    const std::string program = std::filesystem::read_symlink("/proc/self/exe").string();
    EXPECT_EQ(autostart.entry(), "\"" + program + "\" --dir \"/home/f4abc/tintal\"");
    std::ifstream in(folder.file("config/autostart/tintal.desktop"));
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first, "[Desktop Entry]");

    ASSERT_EQ(autostart.set(false), "");
    EXPECT_FALSE(std::filesystem::exists(folder.file("config/autostart/tintal.desktop")));
    EXPECT_EQ(autostart.set(false), "");  // removing twice is no error
    EXPECT_EQ(autostart.entry(), "");
}

TEST(XdgAutostart, AFolderThatCannotBeMadeIsReported) {
    TempFolder folder;
    std::ofstream(folder.file("file")) << "x";
    ConfigHome home(folder.file("file"));  // a file where the folder should be
    EXPECT_NE(XdgAutostart().set(true), "");
}

}  // namespace
}  // namespace tintal
