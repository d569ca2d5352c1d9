// SPDX-License-Identifier: GPL-3.0-or-later
// Pixels of the gradient painter and the colour blend.

#include "controls/paint/ColorSteps.h"
#include "controls/paint/Gradient.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/SystemColors.h"
#include "tests/platform/PixelArt.h"
#include "tests/platform/QtTestApp.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <tuple>

namespace {

std::string Hex(TColor c) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%06X", unsigned(c));
    return buf;
}

constexpr TColor Grey(int level) {
    return RGBColor(level, level, level);
}

// A bitmap of the given size with one gradient rendered straight onto it.
TBitmap Rendered(int w, int h, TColor from, TColor to, TGradientStyle style) {
    TBitmap bmp(w, h);
    RenderGradient(bmp.Canvas(), w, h, from, to, style);
    return bmp;
}

// ---- Colours that resolve alike fill the rectangle with the first one ----

class AnyStyleTest : public ::testing::TestWithParam<int> {
protected:
    TGradientStyle Style() const { return TGradientStyle(GetParam()); }
};

TEST_P(AnyStyleTest, EqualResolvedColoursFillPlainly) {
    constexpr TColor marker = 0x123456;
    TBitmap bmp(20, 20);
    bmp.Canvas().Brush().Color = marker;
    bmp.Canvas().FillRect({0, 0, 20, 20});
    PaintGradient(bmp.Canvas(), {3, 4, 16, 13}, clBtnFace, ColorToRGB(clBtnFace), Style());
    const TColor face = ColorToRGB(clBtnFace);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 3 && x < 16 && y >= 4 && y < 13;
            ASSERT_EQ(Hex(PixelAt(bmp, x, y)), Hex(inside ? face : marker)) << x << "," << y;
        }
}

// The target outside the rectangle is never touched, and tiny or empty
// rectangles (where several styles divide by a size) draw safely.
TEST_P(AnyStyleTest, StaysInsideItsRectangleAtAnySize) {
    constexpr TColor marker = 0x123456;
    const TRect rects[] = {{5, 5, 6, 6},  {5, 5, 6, 12}, {5, 5, 12, 6}, {5, 5, 7, 7},
                           {5, 5, 8, 25}, {5, 5, 5, 9},  {5, 5, 9, 5},  {9, 9, 5, 5}};
    for (const TRect& r : rects) {
        TBitmap bmp(30, 30);
        bmp.Canvas().Brush().Color = marker;
        bmp.Canvas().FillRect({0, 0, 30, 30});
        PaintGradient(bmp.Canvas(), r, clBlack, clWhite, Style());
        int changed = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 30; ++x) {
                const bool inside = x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
                if (!inside)
                    ASSERT_EQ(PixelAt(bmp, x, y), marker) << x << "," << y;
                else if (PixelAt(bmp, x, y) != marker)
                    ++changed;
            }
        EXPECT_EQ(changed, r.IsEmpty() ? 0 : r.Width() * r.Height())
            << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom;
    }
}

INSTANTIATE_TEST_SUITE_P(AllStyles, AnyStyleTest, ::testing::Range(0, GradientStyleCount));

// ---- Banded and mirrored styles: one colour per row (or column) ----

struct ProfileCase {
    const char* name;
    TGradientStyle horizontal; // the row style; its column twin is checked too
    TGradientStyle vertical;
    int size; // height of the row style, width of the column style
    TColor from, to;
    TColor (*expected)(int index, int size);
};

TColor BandedTen(int y, int) {
    return Grey(y / 10);
}
TColor WhiteMirror(int y, int) {
    return Grey(255 - int(std::lrint(std::abs(y - 5) * double(255.0f / 5.0f))));
}
// Lightest row at a third (y0 = 10), steps of 255/20 each way.
TColor ThirdThirty(int y, int) {
    return Grey(int(std::lrint(std::abs(y - 10) * double(255.0f / 20.0f))));
}
// Fewer pixels than colour steps: one band per pixel.
TColor BandPerPixel(int y, int size) {
    return Grey(int(std::trunc(y * double(255.0f / size))));
}

class ProfileTest : public ::testing::TestWithParam<ProfileCase> {};

TEST_P(ProfileTest, RowsAndColumnsFollowTheSteps) {
    const ProfileCase& c = GetParam();
    constexpr int across = 7;
    const TBitmap rows = Rendered(across, c.size, c.from, c.to, c.horizontal);
    const TBitmap cols = Rendered(c.size, across, c.from, c.to, c.vertical);
    for (int i = 0; i < c.size; ++i) {
        const std::string want = Hex(c.expected(i, c.size));
        for (int j = 0; j < across; ++j) {
            ASSERT_EQ(Hex(PixelAt(rows, j, i)), want) << "row " << i << " x " << j;
            ASSERT_EQ(Hex(PixelAt(cols, i, j)), want) << "column " << i << " y " << j;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Styles, ProfileTest,
    ::testing::Values(
        // n = 10 on 100 pixels: band 10, eleven bands, the last one off the end.
        ProfileCase{"Banded", gsHorizontal1, gsVertical1, 100, clBlack, 0x0A0A0A, BandedTen},
        ProfileCase{"BandPerPixel", gsHorizontal1, gsVertical1, 16, clBlack, clWhite, BandPerPixel},
        // m = 5: white middle, 204 beside it, black at the top edge.
        ProfileCase{"Mirrored", gsHorizontal2, gsVertical2, 10, clWhite, clBlack, WhiteMirror},
        ProfileCase{"Third", gsHorizontal3, gsVertical3, 30, clBlack, clWhite, ThirdThirty}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GradientRows, MirroredEdgeCaseValues) {
    const TBitmap bmp = Rendered(3, 10, clWhite, clBlack, gsHorizontal2);
    EXPECT_EQ(PixelAt(bmp, 1, 5), clWhite);
    EXPECT_EQ(PixelAt(bmp, 1, 4), Grey(204));
    EXPECT_EQ(PixelAt(bmp, 1, 6), Grey(204));
    EXPECT_EQ(PixelAt(bmp, 1, 0), clBlack);
}

// ---- Corner styles ----

TEST(GradientCorner, RingBitmapOfThePanelDial) {
    // n = 58, m = 30: the top-left pixel alone in the first colour, the last
    // pair of lines in the middle colour S(15, 30).
    const TBitmap bmp = Rendered(30, 30, 0x626262, 0x282828, gsTopLeft);
    EXPECT_EQ(Hex(PixelAt(bmp, 0, 0)), "626262");
    EXPECT_EQ(Hex(PixelAt(bmp, 15, 15)), "454545");
    EXPECT_EQ(Hex(PixelAt(bmp, 29, 1)), "454545");
    EXPECT_EQ(Hex(PixelAt(bmp, 1, 29)), "454545");
    // Darker along the main diagonal, nothing left white.
    for (int k = 1; k < 30; ++k)
        EXPECT_LE(GetRValue(PixelAt(bmp, k, k)), GetRValue(PixelAt(bmp, k - 1, k - 1))) << k;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_NE(PixelAt(bmp, x, y), clWhite) << x << "," << y;
}

// The light corner, the dark corner and the order along the diagonal between
// them, for both corner styles and several shapes.
class CornerTest : public ::testing::TestWithParam<std::tuple<TGradientStyle, int, int>> {};

TEST_P(CornerTest, RunsFromTheLightCornerToTheDarkOne) {
    const auto [style, w, h] = GetParam();
    const TBitmap bmp = Rendered(w, h, 0xF0F0F0, 0x101010, style);
    const bool right = style == gsTopRight;
    const int lightX = right ? w - 1 : 0;
    const int darkX = right ? 0 : w - 1;
    // The corner pixels are the ends of the first lines drawn there, a step
    // or two (of 224 / m levels each) from the end colours.
    const double slack = 2.5 * 224.0 / std::max(w, h) + 1;
    EXPECT_NEAR(GetRValue(PixelAt(bmp, lightX, 0)), 0xF0, slack);
    EXPECT_NEAR(GetRValue(PixelAt(bmp, darkX, h - 1)), 0x10, slack);
    // Non-increasing along the diagonal from the light corner.
    const int steps = std::min(w, h);
    for (int k = 1; k < steps; ++k) {
        const int x0 = right ? w - k : k - 1, x1 = right ? w - 1 - k : k;
        EXPECT_LE(GetRValue(PixelAt(bmp, x1, k)), GetRValue(PixelAt(bmp, x0, k - 1))) << k;
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, CornerTest,
                         ::testing::Combine(::testing::Values(gsTopLeft, gsTopRight),
                                            ::testing::Values(30, 41), ::testing::Values(30, 17)));

// ---- Nested figures about the centre ----

struct CentreCase {
    const char* name;
    TGradientStyle style;
    TPoint centre;
    TColor centreColour;
};

class CentreTest : public ::testing::TestWithParam<CentreCase> {};

TEST_P(CentreTest, CentreAndCorners) {
    const CentreCase& c = GetParam();
    // n = 10 on 40 x 40.
    const TBitmap bmp = Rendered(40, 40, clBlack, 0x0A0A0A, c.style);
    EXPECT_EQ(Hex(PixelAt(bmp, c.centre.X, c.centre.Y)), Hex(c.centreColour));
    EXPECT_EQ(Hex(PixelAt(bmp, 39, 39)), "0A0A0A");
    EXPECT_EQ(Hex(PixelAt(bmp, 0, 39)), "0A0A0A");
}

INSTANTIATE_TEST_SUITE_P(
    Styles, CentreTest,
    ::testing::Values(CentreCase{"Elliptic1", gsElliptic1, {20, 20}, Grey(1)},
                      CentreCase{"Elliptic2", gsElliptic2, {20, 20}, Grey(1)},
                      // The third moves the centre a quarter toward the top left.
                      CentreCase{"Elliptic3", gsElliptic3, {11, 11}, Grey(1)},
                      CentreCase{"Rectangle", gsRectangle, {20, 20}, clBlack},
                      CentreCase{"Diamond1", gsDiamond1, {20, 20}, clBlack},
                      CentreCase{"Diamond2", gsDiamond2, {20, 20}, clBlack}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GradientRectangle, NestedSquaresTwoPixelsApart) {
    // Half sizes 2i: the pixel d from the centre is in step ceil(d / 2).
    const TBitmap bmp = Rendered(40, 40, clBlack, 0x0A0A0A, gsRectangle);
    for (int d = -20; d < 20; ++d) {
        const int step = (std::abs(d) + 1) / 2;
        EXPECT_EQ(Hex(PixelAt(bmp, 20 + d, 20)), Hex(Grey(step))) << d;
        EXPECT_EQ(Hex(PixelAt(bmp, 20, 20 + d)), Hex(Grey(step))) << d;
    }
}

// ---- The blend of the bevels ----

TEST(BlendColor, ResolvesSystemColoursAndKeepsEqualOnes) {
    EXPECT_EQ(BlendColor(clBlack, clWhite, 2, 1), 0x808080u);
    EXPECT_EQ(BlendColor(clBlack, clWhite, 2, 2), clWhite);
    EXPECT_EQ(BlendColor(clBlack, clWhite, 0, 1), clWhite);
    EXPECT_EQ(BlendColor(clBtnFace, clBtnFace, 2, 1), clBtnFace);
    EXPECT_EQ(BlendColor(clBtnFace, ColorToRGB(clBtnFace), 2, 1), clBtnFace);
    EXPECT_EQ(BlendColor(0xD2D2D2, clBtnHighlight, 2, 2), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(BlendColor(0xD2D2D2, clBtnHighlight, 2, 1),
              BlendResolved(0xD2D2D2, ColorToRGB(clBtnHighlight), 2, 1));
}

} // namespace
