#pragma once
// What a window shows, checked control by control: a failure names the control it concerns.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "widgets/control.h"

namespace tintal {

// A control and the caption it should show.
struct ShownCaption {
    const Control& control;
    std::string caption;
};

inline ShownCaption shows(const Control& control, std::string caption) { return {control, std::move(caption)}; }

inline void expectCaptions(const std::vector<ShownCaption>& expected) {
    for (const ShownCaption& e : expected) EXPECT_EQ(e.control.caption(), e.caption) << e.control.name();
}

}  // namespace tintal
