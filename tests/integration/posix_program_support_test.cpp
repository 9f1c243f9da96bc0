// The Linux program's own system services: its folders, the time-zone bias and the stop signals.
#include <gtest/gtest.h>
#include <pthread.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <thread>

#include "fakes/temp_folder.h"
#include "platform/posix/console_desktop.h"
#include "platform/posix/local_time_zone.h"
#include "platform/posix/program_files.h"
#include "platform/posix/stop_signals.h"

namespace tintal {
namespace {

// Puts the working folder back whatever a test entered.
struct KeepWorkingFolder {
    ~KeepWorkingFolder() { std::filesystem::current_path(before); }
    std::filesystem::path before = std::filesystem::current_path();
};

TEST(ProgramFiles, TheWorkingFolderIsMadeEnteredAndNamedInFull) {
    TempFolder temp;
    KeepWorkingFolder keep;
    std::string error;
    const auto entered = enterFolder(temp.file("été/tintal"), error);
    ASSERT_TRUE(entered) << error;
    EXPECT_EQ(*entered, std::filesystem::canonical(temp.file("été/tintal")).string());
    EXPECT_EQ(std::filesystem::current_path().string(), *entered);

    // A file where the folder should be: refused, with the system's reason, and the folder kept.
    std::ofstream(temp.file("occupied")) << "x";
    EXPECT_FALSE(enterFolder(temp.file("occupied"), error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(std::filesystem::current_path().string(), *entered);
}

TEST(ProgramFiles, FoldersAreMadeWhenMissingAndTheProgramsOwnIsKnown) {
    TempFolder temp;
    EXPECT_TRUE(makeFolder(temp.file("a/b/weather")));
    EXPECT_TRUE(std::filesystem::is_directory(temp.file("a/b/weather")));
    EXPECT_TRUE(makeFolder(temp.file("a/b/weather")));  // already there
    std::ofstream(temp.file("file")) << "x";
    EXPECT_FALSE(makeFolder(temp.file("file")));
    EXPECT_EQ(programFolder(), std::filesystem::read_symlink("/proc/self/exe").parent_path().string());
}

struct TimeZone {
    explicit TimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) previous = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZone() {
        if (previous)
            setenv("TZ", previous->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    std::optional<std::string> previous;
};

TEST(LocalTimeZone, TheBiasIsMinutesFromLocalTimeToUtc) {
    {
        TimeZone zone("UTC");
        EXPECT_EQ(localBiasMinutes(), 0);
    }
    {
        TimeZone zone("XST-2");  // two hours east of UTC, no summer time
        EXPECT_EQ(localBiasMinutes(), -120);
        EXPECT_EQ(ConsoleDesktop().biasMinutes, -120);
    }
    {
        TimeZone zone("YST+5:30");
        EXPECT_EQ(localBiasMinutes(), 330);
    }
}

// The signals the watcher blocks, unblocked again for the tests that run after it in this process.
struct KeepSignalMask {
    KeepSignalMask() { pthread_sigmask(SIG_SETMASK, nullptr, &before); }
    ~KeepSignalMask() { pthread_sigmask(SIG_SETMASK, &before, nullptr); }
    sigset_t before{};
};

TEST(StopSignals, AHangUpRunsTheStopOnceAndAStopWithoutSignalEndsTheWait) {
    KeepSignalMask keep;
    std::atomic<int> stops{0};
    {
        StopSignals signals;
        signals.watch([&] { ++stops; });
        ::kill(::getpid(), SIGHUP);  // blocked here: only the watcher takes it
        for (int i = 0; i < 500 && stops == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        signals.stop();
    }
    EXPECT_EQ(stops, 1);

    StopSignals quiet;
    quiet.watch([&] { ++stops; });
    quiet.stop();  // returns: the watcher took the program's own signal
    EXPECT_EQ(stops, 2);
}

}  // namespace
}  // namespace tintal
