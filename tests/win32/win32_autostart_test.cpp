// The Run key entry under Wine's registry.
#include "platform/win32/win32_autostart.h"

#include <gtest/gtest.h>

namespace tintal {
namespace {

TEST(Win32Autostart, WritesTheProgramsPathUnderTheRunKeyAndRemovesIt) {
    Win32Autostart autostart;
    ASSERT_EQ(autostart.set(true), "");
    const std::string entry = autostart.entry();
    EXPECT_NE(entry.find("tintal_win32_tests.exe"), std::string::npos) << entry;
    ASSERT_EQ(autostart.set(false), "");
    EXPECT_EQ(autostart.entry(), "");
    EXPECT_EQ(autostart.set(false), "");
}

}  // namespace
}  // namespace tintal
