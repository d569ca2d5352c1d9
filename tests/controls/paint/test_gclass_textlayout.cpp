// SPDX-License-Identifier: GPL-3.0-or-later
// Splitting multi-line texts and placing texts by their anchor point.

#include "controls/paint/TextLayout.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

TEST(CountChar, CountsEveryOccurrence) {
    EXPECT_EQ(CountChar("", '|'), 0);
    EXPECT_EQ(CountChar("ab", '|'), 0);
    EXPECT_EQ(CountChar("|a||b|", '|'), 4);
    EXPECT_EQ(CountChar("Пуск|Стоп", '|'), 1);
}

std::vector<std::string> Segments(std::string text) {
    std::vector<std::string> out;
    while (!text.empty()) {
        std::string segment;
        NextSegment(text, LineSeparator, segment);
        out.push_back(segment);
    }
    return out;
}

TEST(NextSegment, SplitsAtEachSeparator) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Segments("abc"), V{"abc"});
    EXPECT_EQ(Segments("ab|cd|e"), (V{"ab", "cd", "e"}));
    // A final separator leaves no empty last line; an empty first line stays.
    EXPECT_EQ(Segments("ab|"), V{"ab"});
    EXPECT_EQ(Segments("|ab"), (V{"", "ab"}));
    EXPECT_EQ(Segments("a||b"), (V{"a", "", "b"}));
    EXPECT_EQ(Segments("Выход|Стоп"), (V{"Выход", "Стоп"}));
}

// (anchor, expected x, expected y) for a 21 x 11 text anchored at (100, 50):
// half sizes 10 and 5.
class AnchorTest : public ::testing::TestWithParam<std::tuple<int, int, int>> {};

TEST_P(AnchorTest, PlacesTheTopLeftCorner) {
    const auto [anchor, x, y] = GetParam();
    const TTextPlacement p = AnchoredTopLeft(anchor, 100, 50, 21, 11);
    EXPECT_EQ(p.x, x);
    EXPECT_EQ(p.y, y);
}

INSTANTIATE_TEST_SUITE_P(AllAnchors, AnchorTest,
                         ::testing::Values(std::make_tuple(0, 100, 50), std::make_tuple(1, 90, 50),
                                           std::make_tuple(2, 79, 50), std::make_tuple(3, 100, 45),
                                           std::make_tuple(4, 90, 45), std::make_tuple(5, 79, 45),
                                           std::make_tuple(6, 100, 39), std::make_tuple(7, 90, 39),
                                           std::make_tuple(8, 79, 39),
                                           // Outside the nine: the origin.
                                           std::make_tuple(9, 0, 0), std::make_tuple(-1, 0, 0)));

TEST(FirstLineY, FollowsTheAnchorRow) {
    // Three lines 12 apart: the block spans two steps.
    for (int anchor : {0, 1, 2})
        EXPECT_EQ(FirstLineY(anchor, 100, 12, 2), 100) << anchor;
    for (int anchor : {3, 4, 5})
        EXPECT_EQ(FirstLineY(anchor, 100, 12, 2), 88) << anchor;
    for (int anchor : {6, 7, 8})
        EXPECT_EQ(FirstLineY(anchor, 100, 12, 2), 76) << anchor;
    EXPECT_EQ(FirstLineY(12, 100, 12, 2), 100);
    // Two lines 13 apart, centred: block 13, truncated half 6.
    EXPECT_EQ(FirstLineY(4, 100, 13, 1), 94);
}

} // namespace
