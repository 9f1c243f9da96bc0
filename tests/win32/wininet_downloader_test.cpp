// WinInet downloads and the web windows over real HTTP on 127.0.0.1.
#include "platform/win32/wininet_downloader.h"

#include <gtest/gtest.h>

#include "http/web_end_to_end.h"

namespace tintal {
namespace {

TINTAL_DOWNLOADER_END_TO_END_TESTS(WinInetDownloader, WinInetDownloader)

}  // namespace
}  // namespace tintal

namespace tintal {
namespace {

// WinInet reads the declared length first: such an answer is refused before its body is read.
TEST(WinInetDownloaderCap, AnAnswerDeclaredOver1MBIsRefusedToo) {
    WinInetDownloader downloader;
    endtoend::anAnswerOverOneMegabyteIsRefused(downloader, {"/declared"});
}

}  // namespace
}  // namespace tintal
