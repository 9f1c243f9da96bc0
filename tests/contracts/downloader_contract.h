#pragma once
// The Downloader contract over real HTTP on 127.0.0.1, written once for each system's adapter:
// INSTANTIATE_TYPED_TEST_SUITE_P(Name, DownloaderContract, Adapter) with a default-constructible Adapter.
#include <gtest/gtest.h>

#include "http/web_end_to_end.h"

namespace tintal::contracts {

template <typename Adapter>
class DownloaderContract : public ::testing::Test {
protected:
    Adapter downloader;
};

TYPED_TEST_SUITE_P(DownloaderContract);

TYPED_TEST_P(DownloaderContract, DocumentsArriveByteForByte) { endtoend::documentsArriveByteForByte(this->downloader); }

TYPED_TEST_P(DownloaderContract, FailuresLeaveThePreviousFile) {
    endtoend::failuresLeaveThePreviousFile(this->downloader);
}

TYPED_TEST_P(DownloaderContract, ASilentServerEndsWithinTheTimeout) {
    endtoend::aSilentServerEndsWithinTheTimeout(this->downloader);
}

TYPED_TEST_P(DownloaderContract, AnAnswerOverOneMegabyteIsRefused) {
    endtoend::anAnswerOverOneMegabyteIsRefused(this->downloader);
}

TYPED_TEST_P(DownloaderContract, TheWindowsReadOverHttp) { endtoend::theWindowsReadOverHttp(this->downloader); }

TYPED_TEST_P(DownloaderContract, TheVersionCheckReadsTheServedList) {
    endtoend::theVersionCheckReadsTheServedList(this->downloader);
}

REGISTER_TYPED_TEST_SUITE_P(DownloaderContract, DocumentsArriveByteForByte, FailuresLeaveThePreviousFile,
                            ASilentServerEndsWithinTheTimeout, AnAnswerOverOneMegabyteIsRefused, TheWindowsReadOverHttp,
                            TheVersionCheckReadsTheServedList);

}  // namespace tintal::contracts
