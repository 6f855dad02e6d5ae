// SPDX-License-Identifier: MIT
#include "progress_ctrl.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

struct RecordingBar : ProgressBarView {
    std::uint32_t upper = 0;
    std::uint32_t position = 0;
    void Show(std::uint32_t u, std::uint32_t p) override {
        upper = u;
        position = p;
    }
};

TEST(ProgressCtrl, KeepsValuesAndPassesThemToAnAttachedBar) {
    CProgressCtrl ctrl;
    ctrl.SetRange32(0, 5000);
    ctrl.SetPos(4096);
    RecordingBar bar;
    ctrl.Attach(&bar);
    EXPECT_EQ(bar.upper, 5000u);
    EXPECT_EQ(bar.position, 4096u);
    ctrl.SetPos(100);
    EXPECT_EQ(bar.position, 100u);
    EXPECT_EQ(ctrl.GetPos(), 100u);
}

TEST(ProgressCtrl, IntBarsScaleInsteadOfGoingNegative) {
    const ScaledProgress small = ScaleForIntBar(1000, 500);
    EXPECT_EQ(small.upper, 1000);
    EXPECT_EQ(small.position, 500);
    const ScaledProgress huge = ScaleForIntBar(0xFFFFFFFFu, 0xFFFFF000u);
    EXPECT_GT(huge.upper, 0);
    EXPECT_GE(huge.position, 0);
    EXPECT_LE(huge.position, huge.upper);
    EXPECT_GT(huge.position, huge.upper / 2 + huge.upper / 4);
    const ScaledProgress edge = ScaleForIntBar(static_cast<std::uint32_t>(INT_MAX) + 1u, 0);
    EXPECT_GT(edge.upper, 0);
}

}  // namespace
