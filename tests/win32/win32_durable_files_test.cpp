// Replacing a file whole through the Windows calls, under Wine: read-only files are no obstacle, and
// the result carries the read-only and archive attributes.
#include "platform/win32/win32_durable_files.h"

#include <windows.h>

#include "contracts/durable_files_contract.h"
#include "platform/win32/win32_text.h"

namespace tintal::contracts {

template <>
struct DurableFilesTraits<Win32DurableFiles> {
    static void makeReadOnly(const std::string& path) {
        SetFileAttributesW(widen(path).c_str(), FILE_ATTRIBUTE_READONLY);
    }
    static bool isReadOnly(const std::string& path) {
        const DWORD attributes = GetFileAttributesW(widen(path).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
    }
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, DurableFilesContract, Win32DurableFiles);

namespace {

TEST(Win32DurableFiles, TheReplacedFileIsMarkedForArchiving) {
    TempFolder folder;
    const std::string ini = folder.file("tintal.ini"), temp = folder.file("tintal.~in");
    Win32DurableFiles files;
    ASSERT_TRUE(files.replace(ini, temp, bytesOf("new\r\n"), true));
    const DWORD attributes = GetFileAttributesW(widen(ini).c_str());
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_ARCHIVE);
}

}  // namespace
}  // namespace tintal::contracts
