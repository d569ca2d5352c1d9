// SPDX-License-Identifier: GPL-3.0-or-later
// Colour steps of the gradient painter and the bevels, on resolved colours.

#include "controls/paint/ColorSteps.h"

#include <gtest/gtest.h>

namespace {

struct BlendCase {
    TColor from, to;
    int steps, step;
    TColor expected;
};

class BlendResolvedTest : public ::testing::TestWithParam<BlendCase> {};

TEST_P(BlendResolvedTest, GivesTheStepColour) {
    const auto& c = GetParam();
    EXPECT_EQ(BlendResolved(c.from, c.to, c.steps, c.step), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, BlendResolvedTest,
                         ::testing::Values(
                             // 127.5 rounds to the even 128.
                             BlendCase{clBlack, clWhite, 2, 1, 0x808080},
                             BlendCase{clBlack, clWhite, 2, 2, clWhite},
                             BlendCase{clBlack, clWhite, 2, 0, clBlack},
                             // Steps 0 counts as 1: the full way to the second colour.
                             BlendCase{clBlack, clWhite, 0, 1, clWhite},
                             // Falling channels: 255 - round(127.5) = 127.
                             BlendCase{clWhite, clBlack, 2, 1, 0x7F7F7F},
                             // Each channel on its own: red up, green down, blue still.
                             BlendCase{0x400010, 0x400030, 4, 1, 0x400018},
                             BlendCase{0x00FF00, 0x000000, 3, 1, 0x00AA00},
                             // The outer ring of the panel button's highlight: 0x62 toward 0x55.
                             BlendCase{0x626262, 0x555555, 2, 1, 0x5C5C5C},
                             // Beyond the last step the channels wrap into a byte.
                             BlendCase{clBlack, 0x000080, 1, 2, 0x000000}));

TEST(SteppedColor, HalfStepsRoundToEven) {
    // From 0x62 to 0x28 in 30 steps: d/m = -58/30 as a float.
    const TColorChannels from = TColorChannels::Of(0x626262);
    const TColorChannels delta = TColorChannels::Of(0x282828) - from;
    EXPECT_EQ(SteppedColor(from, delta, 0, 30), 0x626262u);
    EXPECT_EQ(SteppedColor(from, delta, 15, 30), 0x454545u);
    EXPECT_EQ(SteppedColor(from, delta, 30, 30), 0x282828u);
    // 0.5 * -1.9333 = -0.9667 -> -1.
    EXPECT_EQ(SteppedColor(from, delta, 0.5, 30), 0x616161u);
    // White to black over 5: 255 - round(51) = 204.
    const TColorChannels white = TColorChannels::Of(clWhite);
    EXPECT_EQ(SteppedColor(white, TColorChannels::Of(clBlack) - white, 1, 5), 0xCCCCCCu);
}

TEST(BandedColor, TruncatesEachBand) {
    const TColorChannels from = TColorChannels::Of(0xE2E2E2);
    const TColorChannels delta = TColorChannels::Of(0x8F8F8F) - from; // -83
    EXPECT_EQ(BandedColor(from, delta, 0, 83), 0xE2E2E2u);
    EXPECT_EQ(BandedColor(from, delta, 83, 83), 0x8F8F8Fu);
    // 226 - 3 * 83 / 10 = 201.1 -> 201.
    EXPECT_EQ(BandedColor(from, delta, 3, 10), RGBColor(201, 201, 201));
    const TColorChannels black = TColorChannels::Of(clBlack);
    for (int i = 0; i <= 10; ++i)
        EXPECT_EQ(BandedColor(black, TColorChannels::Of(0x0A0A0A), i, 10), RGBColor(i, i, i));
}

TEST(GradientStepCount, IsTheLargestChannelDifference) {
    EXPECT_EQ(GradientStepCount(TColorChannels::Of(0x0A0A0A) - TColorChannels::Of(0)), 10);
    EXPECT_EQ(GradientStepCount(TColorChannels::Of(0x000010) - TColorChannels::Of(0xFF0000)), 255);
    EXPECT_EQ(GradientStepCount(TColorChannels::Of(0x626262) - TColorChannels::Of(0x282828)), 58);
}

} // namespace
