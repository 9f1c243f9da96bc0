// WinInet downloads and the web windows over real HTTP on 127.0.0.1.
#include "platform/win32/wininet_downloader.h"

#include <gtest/gtest.h>

#include "contracts/downloader_contract.h"

namespace tintal {

namespace contracts {
INSTANTIATE_TYPED_TEST_SUITE_P(WinInet, DownloaderContract, WinInetDownloader);
}  // namespace contracts

namespace {

// WinInet reads the declared length first: such an answer is refused before its body is read.
TEST(WinInetDownloaderCap, AnAnswerDeclaredOver1MBIsRefusedToo) {
    WinInetDownloader downloader;
    endtoend::anAnswerOverOneMegabyteIsRefused(downloader, {"/declared"});
}

}  // namespace
}  // namespace tintal
