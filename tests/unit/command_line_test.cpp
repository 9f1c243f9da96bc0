#include "shell/command_line.h"

#include <gtest/gtest.h>

#include "base/date_time.h"

namespace tintal {
namespace {

std::optional<Options> parse(std::vector<const char*> args, std::string* errorOut = nullptr) {
    args.insert(args.begin(), "tintal");
    std::string error;
    auto options = parseCommandLine(static_cast<int>(args.size()), args.data(), error);
    if (errorOut) *errorOut = error;
    return options;
}

TEST(CommandLine, DryRunAtALocalTime) {
    const auto options = parse({"--dry-run", "--at", "2026-12-01 21:01"});
    ASSERT_TRUE(options);
    EXPECT_TRUE(options->dryRun);
    ASSERT_TRUE(options->at);
    EXPECT_DOUBLE_EQ(*options->at, encodeDateTime(2026, 12, 1, 21, 1));
}

TEST(CommandLine, PeriodAndHours) {
    const auto options = parse({"--period", "15", "--hours", "22-06"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->periodIndex, 3);
    EXPECT_EQ(options->startHour, 22);
    EXPECT_EQ(options->endHour, 6);
}

TEST(CommandLine, ReadSourceTakesAKnownKindAndAFile) {
    auto options = parse({"--read-source", "pro2", "2024-03.wlk", "--at", "2024-04-01 00:10"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->readSourceKind, "pro2");
    EXPECT_EQ(options->readSourcePath, "2024-03.wlk");
    EXPECT_TRUE(options->at);
    std::string error;
    EXPECT_FALSE(parse({"--read-source", "w23"}, &error));
    EXPECT_EQ(error, "--read-source needs a kind and a path or address");
    EXPECT_FALSE(parse({"--read-source", "W23", "history.dat"}, &error));
    EXPECT_EQ(error, "--read-source takes the kind w23, w28, pro2, mon, metar, aprs or piu, not \"W23\"");
}

TEST(CommandLine, RefusesWhatItCannotTakeWithAReason) {
    std::string error;
    EXPECT_FALSE(parse({"--period", "7"}, &error));
    EXPECT_NE(error.find("--period"), std::string::npos);
    EXPECT_FALSE(parse({"--hours", "7-25"}, &error));
    EXPECT_FALSE(parse({"--hours", "7"}, &error));
    EXPECT_FALSE(parse({"--dry-run", "--at", "2026-02-30 10:00"}, &error));
    EXPECT_FALSE(parse({"--dry-run", "--at", "2026-12-01 24:00"}, &error));
    EXPECT_FALSE(parse({"--dry-run", "--at", "2026-12-01 10:00x"}, &error));
    EXPECT_FALSE(parse({"--dry-run", "--at"}, &error));
    EXPECT_EQ(error, "--at needs a value");
    EXPECT_FALSE(parse({"--at", "2026-12-01 10:00"}, &error));
    EXPECT_FALSE(parse({"--bogus"}, &error));
    EXPECT_EQ(error, "unknown option \"--bogus\"");
}

TEST(CommandLine, SerialPortOptionsTakeCanonicalNames) {
    const auto options = parse({"--port", "COM33"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->port, "COM33");
    EXPECT_EQ(parse({"--test-ptt", "COM3"})->testPttPort, "COM3");
    EXPECT_TRUE(parse({"--list-ports"})->listPorts);
    std::string error;
    for (const char* bad : {"COM0", "com3", "COM03", "/dev/ttyS0"}) {
        EXPECT_FALSE(parse({"--test-ptt", bad}, &error)) << bad;
        EXPECT_NE(error.find("COMn"), std::string::npos);
    }
    EXPECT_FALSE(parse({"--port"}, &error));
    EXPECT_EQ(error, "--port needs a port");
}

}  // namespace
}  // namespace tintal
