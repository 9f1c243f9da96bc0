// Replacing a file whole on a real file system: the new content or the old, never neither.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "fakes/temp_folder.h"
#include "platform/posix/posix_durable_files.h"

namespace tintal {
namespace {

std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::span<const std::uint8_t> bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(PosixDurableFiles, ReplacesAReadOnlyFileAndALeftOverTemporaryAndMarksTheResultReadOnly) {
    TempFolder folder;
    const std::string ini = folder.file("tintal.ini"), temp = folder.file("tintal.~in");
    writeText(ini, "old");
    chmod(ini.c_str(), 0444);
    writeText(temp, "left over from a crash");
    chmod(temp.c_str(), 0444);

    PosixDurableFiles files;
    const std::string text = "new\r\n";
    ASSERT_TRUE(files.replace(ini, temp, bytes(text), true));
    EXPECT_EQ(contentOf(ini), text);
    EXPECT_FALSE(std::filesystem::exists(temp));
    struct stat info {};
    ASSERT_EQ(stat(ini.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0444u);
    EXPECT_EQ(files.read(ini), std::vector<std::uint8_t>(text.begin(), text.end()));
}

TEST(PosixDurableFiles, AFailureWhileStagingLeavesTheFileAsItWas) {
    TempFolder folder;
    const std::string ini = folder.file("tintal.ini");
    writeText(ini, "old");
    PosixDurableFiles files;
    const DurableFiles::Outcome outcome = files.replace(ini, folder.file("no-such-folder/tintal.~in"), bytes("new"), false);
    EXPECT_EQ(outcome.failedAt, DurableFiles::Step::Staging);
    EXPECT_NE(outcome.error.find("No such file"), std::string::npos) << outcome.error;
    EXPECT_EQ(contentOf(ini), "old");
}

TEST(PosixDurableFiles, AFailedRenameKeepsTheOldFileAndTheNewContentWaitsBesideIt) {
    TempFolder folder;
    const std::string temp = folder.file("tintal.~in");
    // A folder cannot be replaced by a file: the rename fails, whoever runs the test.
    const std::string target = folder.file("tintal.ini");
    std::filesystem::create_directory(target);
    PosixDurableFiles files;
    EXPECT_EQ(files.replace(target, temp, bytes("new"), false).failedAt, DurableFiles::Step::Replacing);
    EXPECT_TRUE(std::filesystem::is_directory(target));
    EXPECT_EQ(contentOf(temp), "new");
    EXPECT_FALSE(files.read(folder.file("absent")));
}

}  // namespace
}  // namespace tintal
