#include "shell/version_check.h"

#include <gtest/gtest.h>

namespace tintal {
namespace {

std::vector<std::uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

TEST(VersionValue, CountsTheFirstDigitOfEachOfThreeParts) {
    EXPECT_EQ(VersionValue("2.4.0"), 240);
    EXPECT_EQ(VersionValue("2.4.1"), 241);
    EXPECT_EQ(VersionValue("3"), 300);
    EXPECT_EQ(VersionValue("2.10.0"), 210);
    EXPECT_EQ(VersionValue(""), 0);
    EXPECT_EQ(VersionValue(".5.1"), 51);
    EXPECT_EQ(VersionValue("2..1"), 201);
    EXPECT_EQ(VersionValue("2.4.1.9"), 241);
}

TEST(VersionValue, ANonDigitEndsTheCountWithWhatWasReached) {
    EXPECT_EQ(VersionValue(" 2.5.0"), 0);
    EXPECT_EQ(VersionValue("2.x.9"), 200);
    EXPECT_EQ(VersionValue("v3"), 0);
}

TEST(VersionsFile, FindsThisProgramsLineExactly) {
    EXPECT_EQ(versionFor(bytesOf("quilven=1.2.0\r\ntintal=2.4.1\r\ntintal=9.9.9\r\n"), "tintal"), "2.4.1");
    EXPECT_EQ(versionFor(bytesOf("Tintal=9.9.9\r\n"), "tintal"), "");
    EXPECT_EQ(versionFor(bytesOf("tintal= 2.5.0"), "tintal"), " 2.5.0");
    EXPECT_EQ(versionFor(bytesOf("xtintal=3.0.0\r\n"), "tintal"), "");
    EXPECT_EQ(versionFor(bytesOf(""), "tintal"), "");
}

TEST(VersionsFile, AWebPageIsNoList) {
    EXPECT_EQ(versionFor(bytesOf("<html>tintal=3.0.0</html>"), "tintal"), "");
    EXPECT_EQ(versionFor(bytesOf("\r\n<tintal=3.0.0"), "tintal"), "");
    EXPECT_EQ(versionFor(bytesOf("ab<\r\ntintal=3.0.0"), "tintal"), "");
    EXPECT_EQ(versionFor(bytesOf("abc<\r\ntintal=3.0.0"), "tintal"), "3.0.0");
}

}  // namespace
}  // namespace tintal
