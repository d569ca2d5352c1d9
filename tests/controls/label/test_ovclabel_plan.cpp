// SPDX-License-Identifier: GPL-3.0-or-later
// Where the caption label's shade copies, text and graduated bands go, per
// appearance and alignment, and in which colours.

#include "controls/label/OvcCustomSettings.h"
#include "controls/label/OvcEffectPlan.h"
#include "controls/paint/RoundEven.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Layers = std::vector<TOvcTextLayer>;
using namespace ovc_text_flags;

struct Shades {
    TOvcShadeDirection highlightDirection, shadowDirection;
    int highlightDepth, shadowDepth;
};

void ApplyShades(TOvcCustomSettings& s, const Shades& sh) {
    s.SetHighlightDirection(sh.highlightDirection);
    s.SetShadowDirection(sh.shadowDirection);
    s.SetHighlightDepth(TOvcDepth(sh.highlightDepth));
    s.SetShadowDepth(TOvcDepth(sh.shadowDepth));
}

TOvcEffectPlan Plan(const TOvcCustomSettings& s, unsigned flags, int width = 150, int height = 35,
                    int textWidth = 100) {
    TOvcEffectInput in;
    in.settings = &s;
    in.fontColor = clGray;
    in.shadowColor = s.ShadowColor();
    in.highlightColor = s.HighlightColor();
    in.graduateFromColor = s.GraduateFromColor();
    in.flags = flags;
    in.width = width;
    in.height = height;
    in.textWidth = textWidth;
    return OvcBuildEffectPlan(in);
}

// Offsets of the text, its shadow and its highlight for the presets'
// directions and depths, for left, centred and right text.
struct OffsetCase {
    const char* name;
    Shades shades;
    unsigned flags;
    TOvcOffsets offsets;
    TOvcStep text, shadow, highlight;
};

class OvcOffsetsPerAppearance : public ::testing::TestWithParam<OffsetCase> {};

TEST_P(OvcOffsetsPerAppearance, PlacesTextAndItsCopies) {
    const OffsetCase& c = GetParam();
    TOvcCustomSettings s;
    ApplyShades(s, c.shades);
    const TOvcEffectPlan plan = Plan(s, c.flags | kExpandTabs | kWordBreak);
    EXPECT_EQ(plan.offsets, c.offsets);
    EXPECT_EQ(plan.text, (TOvcTextLayer{c.text.dx, c.text.dy, clGray}));
    ASSERT_EQ(plan.layers.size(), 2u); // plain: one copy each, shadow first
    EXPECT_EQ(plan.layers[0], (TOvcTextLayer{c.shadow.dx, c.shadow.dy, clBlack}));
    EXPECT_EQ(plan.layers[1], (TOvcTextLayer{c.highlight.dx, c.highlight.dy, clWhite}));
    EXPECT_FALSE(plan.graduated);
    EXPECT_TRUE(plan.bands.empty());
}

constexpr Shades kNone{sdNone, sdNone, 0, 0};
constexpr Shades kFlying{sdDownRight, sdDownRight, 1, 5};
constexpr Shades kRaised{sdUpLeft, sdDownRight, 1, 1};
constexpr Shades kSunken{sdDownRight, sdUpLeft, 1, 1};
constexpr Shades kShadow{sdNone, sdDownRight, 0, 2};

INSTANTIATE_TEST_SUITE_P(
    Presets, OvcOffsetsPerAppearance,
    ::testing::Values(
        // Raised, left: text one pixel right and down, white at the corner,
        // black two pixels right and down.
        OffsetCase{"RaisedLeft", kRaised, 0, {-1, 1, 0}, {1, 1}, {2, 2}, {0, 0}},
        // Centred: A = 1 keeps the text centred, copies one pixel either side.
        OffsetCase{"RaisedCentre", kRaised, kCenter, {-1, 1, 1}, {0, 1}, {1, 2}, {-1, 0}},
        OffsetCase{"RaisedRight", kRaised, kRight, {-1, 1, 2}, {-1, 1}, {0, 2}, {-2, 0}},
        OffsetCase{"SunkenLeft", kSunken, 0, {-1, 1, 0}, {1, 1}, {0, 0}, {2, 2}},
        OffsetCase{"NoneLeft", kNone, 0, {0, 0, 0}, {0, 0}, {0, 0}, {0, 0}},
        OffsetCase{"NoneCentre", kNone, kCenter, {0, 0, 0}, {0, 0}, {0, 0}, {0, 0}},
        // Shadow: one copy two pixels down-right, highlight under the text.
        OffsetCase{"ShadowLeft", kShadow, 0, {0, 2, 0}, {0, 0}, {2, 2}, {0, 0}},
        OffsetCase{"ShadowCentre", kShadow, kCenter, {0, 2, 1}, {-1, 0}, {1, 2}, {-1, 0}},
        OffsetCase{"ShadowRight", kShadow, kRight, {0, 2, 2}, {-2, 0}, {0, 2}, {-2, 0}},
        OffsetCase{"FlyingLeft", kFlying, 0, {0, 5, 0}, {0, 0}, {5, 5}, {1, 1}},
        OffsetCase{"FlyingCentre", kFlying, kCenter, {0, 5, 2}, {-2, 0}, {3, 5}, {-1, 1}},
        OffsetCase{"FlyingRight", kFlying, kRight, {0, 5, 5}, {-5, 0}, {0, 5}, {-4, 1}},
        // One pair of bounds serves both axes: a shade straight up still
        // pushes the text right when it is centred.
        OffsetCase{
            "UpRightDeep", {sdUp, sdRight, 3, 4}, kCenter, {-3, 4, 3}, {0, 3}, {4, 3}, {0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

struct ShadeCase {
    const char* name;
    TOvcShadeStyle style;
    int depth;
    TColor shade, font;
    Layers expected; // offsets relative to the text
};

class OvcShadeCopies : public ::testing::TestWithParam<ShadeCase> {};

TEST_P(OvcShadeCopies, FarthestFirst) {
    const ShadeCase& c = GetParam();
    EXPECT_EQ(OvcShadeLayers(c.shade, c.font, TOvcDepth(c.depth), c.style, sdDownRight, {0, 0}),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, OvcShadeCopies,
    ::testing::Values(
        ShadeCase{"PlainDeepIsOneCopy", ssPlain, 4, clBlack, clGray, {{4, 4, clBlack}}},
        ShadeCase{"DepthZeroLiesUnderTheText", ssExtrude, 0, clBlack, clGray, {{0, 0, clBlack}}},
        ShadeCase{"ExtrudeDepthOne", ssExtrude, 1, clBlack, clGray, {{1, 1, clBlack}}},
        ShadeCase{"ExtrudeDepthFour",
                  ssExtrude,
                  4,
                  clNavy,
                  clGray,
                  {{4, 4, clNavy}, {3, 3, clNavy}, {2, 2, clNavy}, {1, 1, clNavy}}},
        ShadeCase{"GraduatedToGrey",
                  ssGraduated,
                  3,
                  clBlack,
                  0x808080,
                  {{3, 3, 0x000000}, {2, 2, 0x404040}, {1, 1, 0x808080}}},
        // 129 / 2 = 64.5 rounds to the even 64.
        ShadeCase{"GraduatedHalfGoesToEven",
                  ssGraduated,
                  3,
                  clBlack,
                  0x818181,
                  {{3, 3, 0x000000}, {2, 2, 0x404040}, {1, 1, 0x818181}}},
        // Per channel, falling as well as rising.
        ShadeCase{"GraduatedPerChannel",
                  ssGraduated,
                  2,
                  RGBColor(255, 0, 10),
                  RGBColor(0, 255, 10),
                  {{2, 2, RGBColor(255, 0, 10)}, {1, 1, RGBColor(0, 255, 10)}}},
        ShadeCase{
            "GraduatedDepthOneIsShadeColour", ssGraduated, 1, clBlack, clWhite, {{1, 1, clBlack}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OvcEffectPlan, HighlightLayersFollowTheShadowLayers) {
    TOvcCustomSettings s;
    s.SetShadowStyle(ssExtrude);
    s.SetShadowDepth(2);
    s.SetHighlightStyle(ssExtrude);
    s.SetHighlightDepth(2);
    const TOvcEffectPlan plan = Plan(s, 0);
    // m = -2: text at (2, 2).
    EXPECT_EQ(plan.layers,
              (Layers{{4, 4, clBlack}, {3, 3, clBlack}, {0, 0, clWhite}, {1, 1, clWhite}}));
}

TEST(OvcEffectPlan, GraduatedTextIsDrawnInTheKeyColour) {
    TOvcCustomSettings s;
    s.SetGraduateStyle(gsVertical);
    const TOvcEffectPlan plan = Plan(s, 0);
    EXPECT_TRUE(plan.graduated);
    EXPECT_EQ(plan.text.color, kOvcKeyColor);
    EXPECT_EQ(kOvcKeyColor, TColor(16648689));
    EXPECT_EQ(plan.bands.size(), 16u);
}

// The horizontal fill across a caption 100 pixels wide: 16 bands of 99/15
// pixels from the start colour to the font colour.
TEST(OvcGraduateBands, HorizontalAcrossTheCaption) {
    TOvcOffsets raisedLeft{-1, 1, 0};
    const auto bands = OvcGraduateBands(gsHorizontal, clBlack, RGBColor(150, 30, 255), raisedLeft,
                                        0, 150, 35, 100);
    ASSERT_EQ(bands.size(), 16u);
    const double size = 99.0 / 15;
    for (int j = 0; j < 16; ++j) {
        SCOPED_TRACE(j);
        EXPECT_EQ(bands[j].left, 1 + RoundEven(j * size));
        EXPECT_EQ(bands[j].right, 1 + RoundEven((j + 1) * size));
        EXPECT_EQ(bands[j].top, 0);
        EXPECT_EQ(bands[j].bottom, 35);
        if (j > 0) {
            EXPECT_EQ(bands[j].left, bands[j - 1].right) << "gap or overlap between bands";
        }
        EXPECT_EQ(GetRValue(bands[j].color), RoundEven(j * 10.0));
        EXPECT_EQ(GetGValue(bands[j].color), RoundEven(j * 2.0));
        EXPECT_EQ(GetBValue(bands[j].color), RoundEven(j * 17.0));
    }
    EXPECT_EQ(bands.front().color, clBlack);
    EXPECT_EQ(bands.back().color, RGBColor(150, 30, 255));
    // Together the bands cover 16/15 of the 99-pixel extent.
    EXPECT_EQ(bands.back().right - bands.front().left, RoundEven(16 * size));
}

struct StartCase {
    const char* name;
    unsigned flags;
    TOvcOffsets offsets;
    int x0;
};

class OvcGraduateStart : public ::testing::TestWithParam<StartCase> {};

TEST_P(OvcGraduateStart, HorizontalStartsWhereTheTextStarts) {
    const StartCase& c = GetParam();
    const auto bands =
        OvcGraduateBands(gsHorizontal, clBlack, clWhite, c.offsets, c.flags, 150, 35, 100);
    EXPECT_EQ(bands.front().left, c.x0);
}

INSTANTIATE_TEST_SUITE_P(
    Alignments, OvcGraduateStart,
    ::testing::Values(StartCase{"Left", 0, {-1, 1, 0}, 1},
                      StartCase{"Centre", kCenter, {-1, 1, 1}, 25},    // (50 div 2) + 1 - 1
                      StartCase{"Right", kRight, {-1, 1, 2}, 49},      // 150 - 1 - 100
                      StartCase{"CentreOdd", kCenter, {0, 5, 2}, 23}), // 25 - 0 - 2
    [](const auto& info) { return std::string(info.param.name); });

TEST(OvcGraduateBands, VerticalUsesTheLabelHeightFromTheTopOfTheText) {
    TOvcOffsets o{-2, 2, 0};
    const auto bands = OvcGraduateBands(gsVertical, clWhite, clBlack, o, 0, 150, 31, 100);
    ASSERT_EQ(bands.size(), 16u);
    for (int j = 0; j < 16; ++j) {
        EXPECT_EQ(bands[j].left, 0);
        EXPECT_EQ(bands[j].right, 150);
        EXPECT_EQ(bands[j].top, 2 + 2 * j); // 30 / 15 = 2 rows each
        EXPECT_EQ(bands[j].bottom, 4 + 2 * j);
    }
}

TEST(OvcGraduateBands, EmptyCaptionGivesOnlyEmptyBands) {
    const auto bands = OvcGraduateBands(gsHorizontal, clBlack, clWhite, {}, 0, 150, 35, 0);
    ASSERT_EQ(bands.size(), 16u);
    for (const auto& b : bands)
        EXPECT_TRUE(b.IsEmpty());
}

TEST(OvcGraduateBands, NoneGivesNoBands) {
    EXPECT_TRUE(OvcGraduateBands(gsNone, clBlack, clWhite, {}, 0, 150, 35, 100).empty());
}

} // namespace
