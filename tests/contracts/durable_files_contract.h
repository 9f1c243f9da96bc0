#pragma once
// The DurableFiles contract on a real file system, written once for each system's adapter.
//
// An instantiation file specialises DurableFilesTraits<Files> with static void makeReadOnly(path)
// and static bool isReadOnly(path), as the system means it, then instantiates DurableFilesContract.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "fakes/temp_folder.h"
#include "platform/durable_files.h"

namespace tintal::contracts {

template <typename Files>
struct DurableFilesTraits;

inline std::string contentOf(const std::string& path) {
    std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline void writeText(const std::string& path, const std::string& text) {
    std::ofstream(std::filesystem::u8path(path), std::ios::binary) << text;
}

inline std::span<const std::uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

template <typename Files>
class DurableFilesContract : public ::testing::Test {
protected:
    using Traits = DurableFilesTraits<Files>;
    TempFolder folder;
    Files files;
};

TYPED_TEST_SUITE_P(DurableFilesContract);

TYPED_TEST_P(DurableFilesContract, ReplacesAReadOnlyFileAndALeftOverTemporaryAndMarksTheResultReadOnly) {
    using Traits = typename TestFixture::Traits;
    const std::string ini = this->folder.file("tintal.ini"), temp = this->folder.file("tintal.~in");
    writeText(ini, "old");
    Traits::makeReadOnly(ini);
    writeText(temp, "left over from a crash");
    Traits::makeReadOnly(temp);

    const std::string text = "new\r\n";
    ASSERT_TRUE(this->files.replace(ini, temp, bytesOf(text), true));
    EXPECT_EQ(contentOf(ini), text);
    EXPECT_FALSE(this->files.exists(temp));
    EXPECT_TRUE(this->files.exists(ini));
    EXPECT_TRUE(Traits::isReadOnly(ini));
    EXPECT_EQ(this->files.read(ini), std::vector<std::uint8_t>(text.begin(), text.end()));

    // Again over the read-only result; without readOnly the new file is writable.
    ASSERT_TRUE(this->files.replace(ini, temp, bytesOf("newer"), false));
    EXPECT_EQ(this->files.read(ini), std::vector<std::uint8_t>({'n', 'e', 'w', 'e', 'r'}));
    EXPECT_FALSE(Traits::isReadOnly(ini));
}

TYPED_TEST_P(DurableFilesContract, AFailureWhileStagingLeavesTheFileAsItWasAndSaysWhy) {
    const std::string ini = this->folder.file("tintal.ini");
    writeText(ini, "old");
    const DurableFiles::Outcome outcome =
        this->files.replace(ini, this->folder.file("no-such-folder/tintal.~in"), bytesOf("new"), false);
    EXPECT_FALSE(outcome);
    EXPECT_EQ(outcome.failedAt, DurableFiles::Step::Staging);
    EXPECT_FALSE(outcome.error.empty());
    EXPECT_EQ(contentOf(ini), "old");
}

TYPED_TEST_P(DurableFilesContract, AFailedReplaceKeepsTheOldFileAndTheNewContentWaitsBesideIt) {
    const std::string temp = this->folder.file("tintal.~in");
    // A folder cannot be replaced by a file: the replacement fails, whoever runs the test.
    const std::string target = this->folder.file("tintal.ini");
    std::filesystem::create_directory(target);
    const DurableFiles::Outcome outcome = this->files.replace(target, temp, bytesOf("new"), false);
    EXPECT_EQ(outcome.failedAt, DurableFiles::Step::Replacing);
    EXPECT_FALSE(outcome.error.empty());
    EXPECT_TRUE(std::filesystem::is_directory(target));
    EXPECT_EQ(contentOf(temp), "new");
}

TYPED_TEST_P(DurableFilesContract, AFileThatIsNotThereIsNeitherReadNorSaidToExist) {
    EXPECT_FALSE(this->files.read(this->folder.file("absent")));
    EXPECT_FALSE(this->files.exists(this->folder.file("absent")));
    // An empty file is there, and reads as nothing rather than as a failure.
    writeText(this->folder.file("empty"), "");
    EXPECT_EQ(this->files.read(this->folder.file("empty")), std::vector<std::uint8_t>{});
}

REGISTER_TYPED_TEST_SUITE_P(DurableFilesContract, ReplacesAReadOnlyFileAndALeftOverTemporaryAndMarksTheResultReadOnly,
                            AFailureWhileStagingLeavesTheFileAsItWasAndSaysWhy,
                            AFailedReplaceKeepsTheOldFileAndTheNewContentWaitsBesideIt,
                            AFileThatIsNotThereIsNeitherReadNorSaidToExist);

}  // namespace tintal::contracts
