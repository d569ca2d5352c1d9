// SPDX-License-Identifier: GPL-3.0-or-later
// Pixels and geometry of the button bevel and the round bevel.

#include "controls/paint/AbBtnBevel.h"
#include "controls/paint/AbSBevel.h"
#include "controls/paint/Gradient.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/SystemColors.h"
#include "tests/platform/PixelArt.h"
#include "tests/platform/QtTestApp.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

constexpr TColor Marker = 0x123456;

TBitmap Filled(int w, int h, TColor color) {
    TBitmap bmp(w, h);
    bmp.Canvas().Brush().Color = color;
    bmp.Canvas().FillRect({0, 0, w, h});
    return bmp;
}

// ---- Button bevel ----

struct BtnBevelCase {
    const char* name;
    bool raised;
    // Expected ring colours: outer and inner, top-left and bottom-right.
    TColor outerTL, outerBR, innerTL, innerBR;
};

class BtnBevelTest : public ::testing::TestWithParam<BtnBevelCase> {};

TEST_P(BtnBevelTest, DrawsTwoGradedRingsAndShrinksTheRectangle) {
    const BtnBevelCase& c = GetParam();
    TAbBtnBevel bevel; // width 2, default colours
    TBitmap bmp = Filled(12, 10, Marker);
    TRect r{1, 1, 11, 9};
    bevel.PaintBevel(bmp.Canvas(), r, c.raised, true, clRed);
    EXPECT_EQ(r, (TRect{3, 3, 9, 7}));
    EXPECT_EQ(PixelAt(bmp, 1, 1), ColorToRGB(c.outerTL));
    EXPECT_EQ(PixelAt(bmp, 1, 7), ColorToRGB(c.outerTL)); // left edge
    EXPECT_EQ(PixelAt(bmp, 10, 8), ColorToRGB(c.outerBR));
    EXPECT_EQ(PixelAt(bmp, 10, 1), ColorToRGB(c.outerBR)); // right edge, top
    EXPECT_EQ(PixelAt(bmp, 2, 2), ColorToRGB(c.innerTL));
    EXPECT_EQ(PixelAt(bmp, 9, 7), ColorToRGB(c.innerBR));
    EXPECT_EQ(PixelAt(bmp, 5, 5), clRed);  // the face
    EXPECT_EQ(PixelAt(bmp, 0, 0), Marker); // outside
    EXPECT_EQ(PixelAt(bmp, 11, 9), Marker);
}

INSTANTIATE_TEST_SUITE_P(
    Directions, BtnBevelTest,
    ::testing::Values(BtnBevelCase{"Raised", true, BlendColor(0xD2D2D2, clBtnHighlight, 2, 1),
                                   BlendColor(clBlack, clBtnShadow, 2, 1), clBtnHighlight,
                                   clBtnShadow},
                      // Pressed: shadow on the top left, running the other way.
                      BtnBevelCase{"Pressed", false, BlendColor(clBtnShadow, clBlack, 2, 1),
                                   BlendColor(clBtnHighlight, 0xD2D2D2, 2, 1), clBlack, 0xD2D2D2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BtnBevel, RaisedOuterRingOfTheDefaults) {
    TAbBtnBevel bevel;
    const auto outer = bevel.RingColor(1, true);
    const auto inner = bevel.RingColor(2, true);
    EXPECT_EQ(outer.topLeft, BlendColor(0xD2D2D2, clBtnHighlight, 2, 1));
    EXPECT_EQ(ColorToRGB(inner.topLeft), ColorToRGB(clBtnHighlight));
}

TEST(BtnBevel, WithoutFillTheFaceStaysAndNarrowRectanglesStillShrink) {
    TAbBtnBevel bevel;
    bevel.SetWidth(4);
    TBitmap bmp = Filled(20, 20, Marker);
    TRect r{0, 0, 20, 20};
    bevel.PaintBevel(bmp.Canvas(), r, true, false, clRed);
    EXPECT_EQ(r, (TRect{4, 4, 16, 16}));
    EXPECT_EQ(PixelAt(bmp, 10, 10), Marker);
    // Four rings on a 5-pixel square use it up; the caller still gets the
    // rectangle moved in by the full width.
    TRect small{0, 0, 5, 5};
    bevel.PaintBevel(bmp.Canvas(), small, true, false, clRed);
    EXPECT_EQ(small, (TRect{4, 4, 1, 1}));
}

TEST(BtnBevel, WidthZeroDrawsNoRing) {
    TAbBtnBevel bevel;
    bevel.SetWidth(0);
    TBitmap bmp = Filled(6, 6, Marker);
    TRect r{0, 0, 6, 6};
    bevel.PaintBevel(bmp.Canvas(), r, true, false, clRed);
    EXPECT_EQ(r, (TRect{0, 0, 6, 6}));
    EXPECT_EQ(PixelAt(bmp, 0, 0), Marker);
}

// ---- Round bevel ----

class DepthTest : public ::testing::TestWithParam<std::tuple<TBevelLine, int>> {};

// Depth after a change and after painting: width + spacing + one per line.
TEST_P(DepthTest, CountsRingSpacingAndLines) {
    const auto [line, depth] = GetParam();
    TAbSBevel bevel;
    bevel.SetCircular(true);
    bevel.SetSpacing(1);
    bevel.SetBevelLine(line);
    EXPECT_EQ(bevel.Depth(), depth);
    TBitmap bmp(83, 83);
    TRect r{0, 0, 83, 83};
    bevel.PaintRound(bmp.Canvas(), r, 0, 0);
    EXPECT_EQ(bevel.Depth(), depth);
    EXPECT_EQ(r, (TRect{depth, depth, 83 - depth, 83 - depth}));
}

INSTANTIATE_TEST_SUITE_P(Lines, DepthTest,
                         ::testing::Values(std::make_tuple(blNone, 3), std::make_tuple(blOuter, 4),
                                           std::make_tuple(blInner, 4),
                                           std::make_tuple(blBoth, 5)));

// The panel's dial: width 2, spacing 1, no lines, 15 pixels kept free on the
// right for the scale.
TEST(RoundBevel, PanelDialFaceRectangle) {
    TAbSBevel bevel;
    bevel.SetCircular(true);
    bevel.SetSpacing(1);
    bevel.Offset()->SetRight(15);
    TBitmap bmp(83, 83);
    TRect r{0, 0, 83, 83};
    bevel.PaintRound(bmp.Canvas(), r, 0, 0);
    EXPECT_EQ(r, (TRect{3, 3, 65, 80}));
    EXPECT_EQ(bevel.Depth(), 3);
}

TEST(RoundBevel, LeavesNarrowOrUnpreparedRectanglesAlone) {
    struct Case {
        bool circular;
        int width;
    };
    for (const Case c : {Case{true, 4}, Case{false, 40}, Case{true, -3}}) {
        TAbSBevel bevel;
        bevel.SetCircular(c.circular);
        bevel.SetSpacing(1);
        TBitmap bmp = Filled(50, 50, Marker);
        TRect r{2, 2, 2 + c.width, 42};
        const TRect before = r;
        bevel.PaintRound(bmp.Canvas(), r, 0, 0);
        EXPECT_EQ(r, before) << c.circular << " " << c.width;
        EXPECT_EQ(PixelArt(bmp, {{'m', Marker}}),
                  PixelArt(Filled(50, 50, Marker), {{'m', Marker}}));
    }
    // Circular but never changed: no ring bitmap yet.
    TAbSBevel fresh;
    fresh.SetCircular(true);
    EXPECT_EQ(fresh.RingBitmap(), nullptr);
    TBitmap bmp(40, 40);
    TRect r{0, 0, 40, 40};
    fresh.PaintRound(bmp.Canvas(), r, 0, 0);
    EXPECT_EQ(r, (TRect{0, 0, 40, 40}));
}

TEST(RoundBevel, RingIsRenderedOnEveryChangeOfACircularBevel) {
    TAbSBevel bevel;
    bevel.SetColorShadowFrom(clWhite); // not circular: no ring
    EXPECT_EQ(bevel.RingBitmap(), nullptr);
    bevel.SetCircular(true);
    bevel.SetColorShadowTo(clBlack);
    ASSERT_NE(bevel.RingBitmap(), nullptr);
    EXPECT_EQ(bevel.RingBitmap()->Width(), TAbSBevel::RingBitmapSize);
    EXPECT_EQ(bevel.RingBitmap()->Height(), TAbSBevel::RingBitmapSize);
    EXPECT_EQ(PixelAt(*bevel.RingBitmap(), 0, 0), clWhite);
    bevel.SetColorShadowFrom(clRed);
    EXPECT_EQ(PixelAt(*bevel.RingBitmap(), 0, 0), clRed);
    // A change of the face gradient also re-renders (through the relay).
    bevel.SetColorShadowFrom(clLime);
    const TBitmap* ring = bevel.RingBitmap();
    bevel.SurfaceGrad()->SetColorTo(clBlue);
    EXPECT_EQ(bevel.RingBitmap(), ring);
    EXPECT_EQ(PixelAt(*bevel.RingBitmap(), 0, 0), clLime);
}

// A bevel shaded from white (top left) to black, on a marker background.
struct RoundPaint {
    explicit RoundPaint(TBevelStyle style, bool gradient = false, TBevelLine line = blNone)
        : bmp(Filled(size, size, Marker)) {
        bevel.SetCircular(true);
        bevel.SetColorShadowFrom(clWhite);
        bevel.SetColorShadowTo(clBlack);
        bevel.SetColor(clRed);
        bevel.SetPenColor(clBlue);
        bevel.SetStyle(style);
        bevel.SetBevelLine(line);
        bevel.SurfaceGrad()->SetVisible(gradient);
        bevel.SurfaceGrad()->SetColorFrom(clYellow);
        bevel.SurfaceGrad()->SetColorTo(clYellow); // plain, so pixels are known
        face = {0, 0, size, size};
        bevel.PaintRound(bmp.Canvas(), face, 0, 0);
    }
    static constexpr int size = 41;
    TAbSBevel bevel;
    TBitmap bmp;
    TRect face;
};

TEST(RoundBevel, RaisedRingIsLightAtTheTopLeftAndCornersStay) {
    const RoundPaint p(bsRaised);
    EXPECT_EQ(PixelAt(p.bmp, 0, 0), Marker);
    EXPECT_EQ(PixelAt(p.bmp, 40, 40), Marker);
    EXPECT_EQ(PixelAt(p.bmp, 40, 0), Marker);
    EXPECT_EQ(PixelAt(p.bmp, 20, 20), clRed);
    // The ring on the top-left diagonal is lighter than on the bottom-right.
    EXPECT_GT(GetRValue(PixelAt(p.bmp, 6, 6)), GetRValue(PixelAt(p.bmp, 34, 34)));
    EXPECT_GT(GetRValue(PixelAt(p.bmp, 20, 0)), GetRValue(PixelAt(p.bmp, 20, 40)));
}

TEST(RoundBevel, LoweredRingIsTurnedByHalfACircle) {
    const RoundPaint p(bsLowered);
    EXPECT_EQ(PixelAt(p.bmp, 0, 0), Marker);
    EXPECT_EQ(PixelAt(p.bmp, 20, 20), clRed);
    EXPECT_LT(GetRValue(PixelAt(p.bmp, 6, 6)), GetRValue(PixelAt(p.bmp, 34, 34)));
    EXPECT_LT(GetRValue(PixelAt(p.bmp, 20, 0)), GetRValue(PixelAt(p.bmp, 20, 40)));
}

TEST(RoundBevel, OuterLineIsDrawnInThePenColour) {
    const RoundPaint p(bsRaised, false, blOuter);
    EXPECT_EQ(PixelAt(p.bmp, 20, 0), clBlue);
    EXPECT_EQ(PixelAt(p.bmp, 0, 20), clBlue);
    EXPECT_EQ(PixelAt(p.bmp, 20, 40), clBlue);
    EXPECT_EQ(p.bevel.Depth(), 2 + 5 + 1);
}

TEST(RoundBevel, FaceGradientIsClippedToTheInnerDiscAndTheClipIsGivenBack) {
    RoundPaint p(bsRaised, true, blInner);
    EXPECT_EQ(PixelAt(p.bmp, 20, 20), clYellow);
    // The gradient's rectangle is only `Width` in, but its corners are
    // clipped away: the ring shows there.
    EXPECT_NE(PixelAt(p.bmp, 7, 7), clYellow);
    EXPECT_EQ(PixelAt(p.bmp, 0, 0), Marker);
    // The inner line outlines the gradient's circle.
    EXPECT_EQ(PixelAt(p.bmp, 20, 2), clBlue);
    // Painting on afterwards reaches the whole surface again.
    p.bmp.Canvas().Brush().Style = bsSolid;
    p.bmp.Canvas().Brush().Color = clGreen;
    p.bmp.Canvas().FillRect({0, 0, 41, 41});
    EXPECT_EQ(PixelAt(p.bmp, 0, 0), clGreen);
    EXPECT_EQ(PixelAt(p.bmp, 40, 40), clGreen);
}

} // namespace
