// SPDX-License-Identifier: GPL-3.0-or-later
// The rectangle helpers and the offsets of a face.

#include "controls/base/RectHelpers.h"
#include "controls/paint/AbOffset.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

constexpr TRect R{10, 20, 30, 40};

class PointInRectTest : public ::testing::TestWithParam<std::tuple<int, int, bool>> {};

// The right edge is outside, the bottom edge inside.
TEST_P(PointInRectTest, RightEdgeOutBottomEdgeIn) {
    const auto [x, y, inside] = GetParam();
    EXPECT_EQ(PointInRect(x, y, R), inside) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Edges, PointInRectTest,
                         ::testing::Values(std::make_tuple(10, 20, true),
                                           std::make_tuple(29, 40, true),
                                           std::make_tuple(30, 20, false), // R.Right, R.Top
                                           std::make_tuple(10, 40, true),  // R.Left, R.Bottom
                                           std::make_tuple(9, 30, false),
                                           std::make_tuple(20, 19, false),
                                           std::make_tuple(20, 41, false)));

class PointInCircleTest : public ::testing::TestWithParam<std::tuple<TRect, int, int, bool>> {};

TEST_P(PointInCircleTest, DiameterIsTheWidth) {
    const auto [r, x, y, inside] = GetParam();
    EXPECT_EQ(PointInCircle(x, y, r), inside) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Circles, PointInCircleTest,
                         ::testing::Values(
                             // 84 wide: centre (42, 42), radius 42, edges included.
                             std::make_tuple(TRect{0, 0, 84, 84}, 42, 42, true),
                             std::make_tuple(TRect{0, 0, 84, 84}, 0, 42, true),
                             std::make_tuple(TRect{0, 0, 84, 84}, 84, 42, true),
                             std::make_tuple(TRect{0, 0, 84, 84}, 85, 42, false),
                             std::make_tuple(TRect{0, 0, 84, 84}, 3, 3, false),
                             // Odd width: centre (2.5, 2.5), radius 2.5.
                             std::make_tuple(TRect{0, 0, 5, 5}, 1, 1, true),
                             std::make_tuple(TRect{0, 0, 5, 5}, 4, 4, true),
                             std::make_tuple(TRect{0, 0, 5, 5}, 0, 2, false),
                             std::make_tuple(TRect{0, 0, 5, 5}, 0, 0, false),
                             // A tall rectangle still uses its width: centre (5, 50), radius 5.
                             std::make_tuple(TRect{0, 0, 10, 100}, 5, 45, true),
                             std::make_tuple(TRect{0, 0, 10, 100}, 5, 44, false),
                             std::make_tuple(TRect{0, 0, 10, 100}, 5, 0, false)));

TEST(RectHelpers, ShrinkCentreAndMax) {
    EXPECT_EQ(ShrinkRect(R, 3), (TRect{13, 23, 27, 37}));
    EXPECT_EQ(ShrinkRect(R, -2), (TRect{8, 18, 32, 42}));
    EXPECT_EQ(RectCenter(R), (TPoint{20, 30}));
    EXPECT_EQ(RectCenter(TRect{0, 0, 5, 7}), (TPoint{2, 3}));
    // div truncates toward zero, also for a negative size.
    EXPECT_EQ(RectCenter(TRect{0, 0, -5, -7}), (TPoint{-2, -3}));
    EXPECT_EQ(MaxOf(3, -4), 3);
    EXPECT_EQ(MaxOf(-4, 3), 3);
}

TEST(Offset, ApplyMovesEachSideInward) {
    TAbOffset offset;
    EXPECT_EQ(offset.Apply(R), R);
    offset.SetTop(1);
    offset.SetLeft(2);
    offset.SetRight(15);
    offset.SetBottom(-4);
    EXPECT_EQ(offset.Apply(R), (TRect{12, 21, 15, 44}));
}

} // namespace
