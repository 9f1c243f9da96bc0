// Replacing a file whole through the Windows calls, under Wine: read-only files are no obstacle, and
// the result carries the read-only and archive attributes.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "fakes/temp_folder.h"
#include "platform/win32/win32_durable_files.h"
#include "platform/win32/win32_text.h"

namespace tintal {
namespace {

std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeReadOnly(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
    SetFileAttributesW(widen(path).c_str(), FILE_ATTRIBUTE_READONLY);
}

std::span<const std::uint8_t> bytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TEST(Win32DurableFiles, ReplacesReadOnlyFilesAndMarksTheResultReadOnlyAndArchived) {
    TempFolder folder;
    const std::string ini = folder.file("tintal.ini"), temp = folder.file("tintal.~in");
    writeReadOnly(ini, "old");
    writeReadOnly(temp, "left over");
    Win32DurableFiles files;
    ASSERT_TRUE(files.replace(ini, temp, bytes("new\r\n"), true));
    EXPECT_EQ(contentOf(ini), "new\r\n");
    EXPECT_FALSE(files.exists(temp));
    const DWORD attributes = GetFileAttributesW(widen(ini).c_str());
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_ARCHIVE);
    ASSERT_TRUE(files.replace(ini, temp, bytes("newer"), true));
    EXPECT_EQ(files.read(ini), std::vector<std::uint8_t>({'n', 'e', 'w', 'e', 'r'}));
}

TEST(Win32DurableFiles, AFailureWhileStagingLeavesTheFileAsItWasAndSaysWhy) {
    TempFolder folder;
    const std::string ini = folder.file("tintal.ini");
    std::ofstream(ini, std::ios::binary) << "old";
    Win32DurableFiles files;
    const DurableFiles::Outcome outcome = files.replace(ini, folder.file("absent\\tintal.~in"), bytes("new"), false);
    EXPECT_EQ(outcome.failedAt, DurableFiles::Step::Staging);
    EXPECT_FALSE(outcome.error.empty());
    EXPECT_EQ(contentOf(ini), "old");
}

}  // namespace
}  // namespace tintal
