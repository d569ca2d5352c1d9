// SPDX-License-Identifier: GPL-3.0-or-later
// The caption label's painting on off-screen bitmaps: the composite of its
// shade copies and text against the same text drawn by hand at the expected
// places, the background handling, and the graduated fill through the key
// colour (checked by the colours used, not by glyph shapes).

#include "controls/label/OvcCustomSettings.h"
#include "controls/label/OvcEffectPainter.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Font.h"
#include "platform/SystemColors.h"
#include "tests/platform/QtTestApp.h"

#include <QImage>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

using namespace ovc_text_flags;

constexpr int kWidth = 160;
constexpr int kHeight = 40;
constexpr TColor kBackground = 0x404040;
const TRect kRect{0, 0, kWidth, kHeight};

// A bold face large enough for many fully covered pixels.
struct CaptionFont : TFont {
    explicit CaptionFont(TColor color = clGray) {
        SetName("Verdana");
        SetHeight(26);
        SetStyle(FontStyleBit(fsBold));
        SetColor(color);
    }
};

TBitmap Solid(TColor color, int width = kWidth, int height = kHeight) {
    TBitmap b(width, height);
    b.Canvas().Brush() = {color, bsSolid};
    b.Canvas().FillRect({0, 0, width, height});
    b.Canvas().EndPaint();
    return b;
}

QImage Render(const TOvcCaption& caption, const TOvcCustomSettings& s,
              TColor background = kBackground) {
    TBitmap target(kWidth, kHeight);
    OvcDrawEffects(target.Canvas(), kRect, Solid(background), caption, s);
    target.Canvas().EndPaint();
    return target.Image();
}

QRgb Rgb(TColor c) {
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)) & 0xFFFFFF;
}

std::map<QRgb, int> ColourCounts(const QImage& image) {
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y) & 0xFFFFFF];
    return counts;
}

// The composite the label should produce, drawn copy by copy with the plain
// surface at the offsets the label's rules give.
struct Copy {
    int dx, dy;
    TColor color;
};

QImage ByHand(const std::string& text, unsigned flags, const std::vector<Copy>& copies) {
    TBitmap b = Solid(kBackground);
    TCanvas& c = b.Canvas();
    c.Font().Assign(CaptionFont());
    c.Brush().Style = bsClear;
    for (const Copy& copy : copies) {
        c.Font().SetColor(copy.color);
        c.DrawText(text, kRect.Translated(copy.dx, copy.dy), flags);
    }
    c.EndPaint();
    return b.Image();
}

struct CompositeCase {
    const char* name;
    TOvcShadeDirection highlightDirection, shadowDirection;
    int highlightDepth, shadowDepth;
    TOvcShadeStyle shadowStyle;
    unsigned flags;
    std::vector<Copy> copies; // shadow copies, highlight copies, text
};

class OvcComposite : public ::testing::TestWithParam<CompositeCase> {};

TEST_P(OvcComposite, MatchesTheCopiesDrawnByHand) {
    const CompositeCase& c = GetParam();
    TOvcCustomSettings s;
    s.SetHighlightDirection(c.highlightDirection);
    s.SetShadowDirection(c.shadowDirection);
    s.SetHighlightDepth(TOvcDepth(c.highlightDepth));
    s.SetShadowDepth(TOvcDepth(c.shadowDepth));
    s.SetShadowStyle(c.shadowStyle);
    const CaptionFont font;
    const std::string text = "ОРБЕЛ-01";
    const QImage got = Render({text, &font, c.flags, true, clBtnFace}, s);
    const QImage want = ByHand(text, c.flags, c.copies);
    ASSERT_EQ(got.size(), want.size());
    int differing = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            differing += (got.pixel(x, y) != want.pixel(x, y));
    EXPECT_EQ(differing, 0);
    // And the text was drawn at all.
    EXPECT_GT(kWidth * kHeight - ColourCounts(got)[Rgb(kBackground)], 100);
}

constexpr unsigned kPlain = kExpandTabs | kWordBreak;

INSTANTIATE_TEST_SUITE_P(Appearances, OvcComposite,
                         ::testing::Values(
                             // Raised, left: white at the corner, text at (1, 1), black at (2, 2).
                             CompositeCase{"RaisedLeft",
                                           sdUpLeft,
                                           sdDownRight,
                                           1,
                                           1,
                                           ssPlain,
                                           kPlain,
                                           {{2, 2, clBlack}, {0, 0, clWhite}, {1, 1, clGray}}},
                             CompositeCase{"RaisedCentre",
                                           sdUpLeft,
                                           sdDownRight,
                                           1,
                                           1,
                                           ssPlain,
                                           kPlain | kCenter,
                                           {{1, 2, clBlack}, {-1, 0, clWhite}, {0, 1, clGray}}},
                             CompositeCase{"SunkenRight",
                                           sdDownRight,
                                           sdUpLeft,
                                           1,
                                           1,
                                           ssPlain,
                                           kPlain | kRight,
                                           {{-2, 0, clBlack}, {0, 2, clWhite}, {-1, 1, clGray}}},
                             CompositeCase{"ShadowLeft",
                                           sdNone,
                                           sdDownRight,
                                           0,
                                           2,
                                           ssPlain,
                                           kPlain,
                                           {{2, 2, clBlack}, {0, 0, clWhite}, {0, 0, clGray}}},
                             // Four extruded copies at 4, 3, 2, 1 pixels, all black.
                             CompositeCase{"ExtrudeFour",
                                           sdNone,
                                           sdDownRight,
                                           0,
                                           4,
                                           ssExtrude,
                                           kPlain,
                                           {{4, 4, clBlack},
                                            {3, 3, clBlack},
                                            {2, 2, clBlack},
                                            {1, 1, clBlack},
                                            {0, 0, clWhite},
                                            {0, 0, clGray}}},
                             // Graduated from black toward the grey text: 0x000000, 0x404040, grey.
                             CompositeCase{"GraduatedThree",
                                           sdUp,
                                           sdDown,
                                           1,
                                           3,
                                           ssGraduated,
                                           kPlain,
                                           // m = -1 moves everything one pixel right as well.
                                           {{1, 4, 0x000000},
                                            {1, 3, 0x404040},
                                            {1, 2, 0x808080},
                                            {1, 0, clWhite},
                                            {1, 1, clGray}}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OvcPaint, TransparentKeepsTheBackgroundAndOpaqueFillsWithTheColour) {
    TOvcCustomSettings s;
    const CaptionFont font;
    const QImage transparent = Render({"A", &font, kPlain, true, clRed}, s);
    const QImage opaque = Render({"A", &font, kPlain, false, clRed}, s);
    // The lower-right corner is far from the text.
    EXPECT_EQ(transparent.pixel(kWidth - 1, kHeight - 1) & 0xFFFFFF, Rgb(kBackground));
    EXPECT_EQ(opaque.pixel(kWidth - 1, kHeight - 1) & 0xFFFFFF, Rgb(clRed));
}

TEST(OvcPaint, SystemColoursAreResolvedBeforeUse) {
    TOvcCustomSettings s;
    s.SetShadowColor(clBtnShadow);
    const CaptionFont font(clBtnFace);
    const auto counts = ColourCounts(Render({"ОРБЕЛ", &font, kPlain, true, clBtnFace}, s));
    EXPECT_GT(counts.count(Rgb(ColorToRGB(clBtnShadow))), 0u);
}

// The graduated fill: the text is drawn in the key colour without smoothing
// and every key pixel takes the colour of the band it lies in. The shades are
// drawn in the background colour so that only the filled text shows.
struct GradCase {
    const char* name;
    TOvcGraduateStyle style;
    unsigned flags;
};

class OvcGraduatedFill : public ::testing::TestWithParam<GradCase> {};

TEST_P(OvcGraduatedFill, EveryTextPixelTakesItsBandColour) {
    const GradCase& c = GetParam();
    TOvcCustomSettings s;
    s.SetGraduateStyle(c.style);
    s.SetGraduateFromColor(clRed);
    s.SetHighlightColor(kBackground);
    s.SetShadowColor(kBackground);
    const CaptionFont font(clBlue);
    const std::string text = "ОРБЕЛ-01";
    const TOvcCaption caption{text, &font, c.flags, true, clBtnFace};
    const QImage got = Render(caption, s);

    TBitmap measure(1, 1);
    measure.Canvas().Font().Assign(font);
    const int textWidth = measure.Canvas().TextWidth(text);
    const TOvcEffectPlan plan = OvcPlanFor(caption, s, kWidth, kHeight, textWidth);
    ASSERT_EQ(plan.bands.size(), 16u);
    auto bandAt = [&](int x, int y) -> int {
        for (int j = 0; j < 16; ++j) {
            const TOvcBand& b = plan.bands[j];
            if (x >= b.left && x < b.right && y >= b.top && y < b.bottom)
                return j;
        }
        return -1;
    };

    std::set<int> bandsSeen;
    int firstColumn = kWidth, lastColumn = -1, wrong = 0, text_pixels = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const QRgb px = got.pixel(x, y) & 0xFFFFFF;
            ASSERT_NE(px, Rgb(kOvcKeyColor)) << "key colour left at " << x << "," << y;
            if (px == Rgb(kBackground))
                continue;
            ++text_pixels;
            const int band = bandAt(x, y);
            if (band < 0 || px != Rgb(plan.bands[band].color)) {
                ++wrong;
                continue;
            }
            bandsSeen.insert(band);
            if (band >= 0 && x < firstColumn)
                firstColumn = x;
            lastColumn = std::max(lastColumn, x);
        }
    }
    EXPECT_GT(text_pixels, 200);
    EXPECT_EQ(wrong, 0) << "pixels neither background nor their band's colour (smoothed edges?)";
    if (c.style == gsHorizontal) {
        // The fill runs across the text itself, wherever the text is placed.
        EXPECT_EQ(bandAt(firstColumn, 0), 0);
        EXPECT_GE(bandAt(lastColumn, 0), 14);
        EXPECT_GE(bandsSeen.size(), 14u);
    } else {
        EXPECT_GE(bandsSeen.size(), 5u);
    }
    EXPECT_EQ(plan.bands.front().color, clRed);
    EXPECT_EQ(plan.bands.back().color, clBlue);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, OvcGraduatedFill,
    ::testing::Values(GradCase{"HorizontalLeft", gsHorizontal, kPlain},
                      GradCase{"HorizontalCentre", gsHorizontal, kPlain | kCenter},
                      GradCase{"HorizontalRight", gsHorizontal, kPlain | kRight},
                      GradCase{"Vertical", gsVertical, kPlain}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OvcGraduatedFill, KeyColouredPixelsOfTheBackgroundAreTakenForText) {
    // The key colour is assumed absent from what lies behind the label; where
    // it is not, those pixels are filled too. Kept as a known limit.
    TOvcCustomSettings s;
    s.SetGraduateStyle(gsVertical);
    s.SetGraduateFromColor(clRed);
    s.SetHighlightDepth(0); // no offsets: the bands cover every row
    s.SetShadowDepth(0);
    const CaptionFont font(clRed);
    const QImage got = Render({"", &font, kPlain, true, clBtnFace}, s, kOvcKeyColor);
    const auto counts = ColourCounts(got);
    EXPECT_EQ(counts.count(Rgb(kOvcKeyColor)), 0u);
    EXPECT_EQ(counts.at(Rgb(clRed)), kWidth * kHeight);
}

} // namespace
