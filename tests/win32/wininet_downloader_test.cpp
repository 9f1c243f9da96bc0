// WinInet downloads and the web windows over real HTTP on 127.0.0.1.
#include <gtest/gtest.h>

#include "http/web_end_to_end.h"
#include "platform/win32/wininet_downloader.h"

namespace tintal {
namespace {

TEST(WinInetDownloader, DocumentsArriveByteForByte) {
    WinInetDownloader downloader;
    endtoend::documentsArriveByteForByte(downloader);
}

TEST(WinInetDownloader, FailuresLeaveThePreviousFile) {
    WinInetDownloader downloader;
    endtoend::failuresLeaveThePreviousFile(downloader);
}

TEST(WinInetDownloader, ASilentServerEndsWithinTheTimeout) {
    WinInetDownloader downloader;
    endtoend::aSilentServerEndsWithinTheTimeout(downloader);
}

TEST(WinInetDownloader, TheWindowsReadOverHttp) {
    WinInetDownloader downloader;
    endtoend::theWindowsReadOverHttp(downloader);
}

}  // namespace
}  // namespace tintal
