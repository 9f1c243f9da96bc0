#include "platform/posix/posix_event_loop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <iterator>

#include "base/date_time.h"
#include "contracts/event_loop_contract.h"

namespace tintal {

namespace contracts {

template <>
struct LoopTraits<PosixEventLoop> {
    static std::unique_ptr<PosixEventLoop> make() { return std::make_unique<PosixEventLoop>(); }
    static void tidy() {}
};

INSTANTIATE_TYPED_TEST_SUITE_P(Posix, EventLoopContract, PosixEventLoop);
INSTANTIATE_TYPED_TEST_SUITE_P(Posix, RealTimeEventLoopContract, PosixEventLoop);

}  // namespace contracts

namespace {

double localDateTimeOf(time_t t) {
    tm local{};
    localtime_r(&t, &local);
    return encodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                          std::min(local.tm_sec, 59));
}

TEST(PosixEventLoop, LocalNowReadsTheSystemTime) {
    PosixEventLoop loop;
    const time_t before = time(nullptr);
    const double now = loop.localNow();
    const time_t after = time(nullptr);
    EXPECT_GE(now, localDateTimeOf(before));
    EXPECT_LT(now, localDateTimeOf(after) + 1000.0 / kMsPerDay);
}

TEST(PosixEventLoop, DestructionReleasesItsDescriptors) {
    namespace fs = std::filesystem;
    const auto openDescriptors = [] {
        return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator{});
    };
    const auto before = openDescriptors();
    for (int i = 0; i < 20; ++i) {
        PosixEventLoop loop;
        loop.startTimer(1, [] {});
        loop.post([] {});
        loop.pump(2);
    }
    EXPECT_EQ(openDescriptors(), before);
}

}  // namespace
}  // namespace tintal
