// SPDX-License-Identifier: GPL-3.0-or-later
// Geometry and turning model of the gear dial, without a window: angles of
// points, rotation with its rounding, the face and pointer shapes of the
// panel's 84 x 84 dial, and the relative drag across the seam below the
// centre.

#include "controls/gear/GearDrag.h"
#include "controls/gear/GearGeometry.h"
#include "tests/platform/GeometryPrinters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <ostream>

using namespace gear;

namespace {

// The panel's dial: an 83 x 83 face, bevel depth 3, round pointer of
// radius 4, a 303-degree sweep starting 153 degrees before 12 o'clock.
const TPoint kCentre{41, 41};
constexpr int kDepth = 3;
constexpr int kStartAngle = -153;
constexpr int kRotAngle = 303;

struct AngleCase {
    TPoint p;
    float expected;
};

class AngleOfPointTest : public ::testing::TestWithParam<AngleCase> {};

TEST_P(AngleOfPointTest, MeasuresClockwiseFromBelow) {
    EXPECT_NEAR(AngleOfPoint(kCentre, GetParam().p), GetParam().expected, 0.005);
}

INSTANTIATE_TEST_SUITE_P(PanelDial, AngleOfPointTest,
                         ::testing::Values(AngleCase{{80, 41}, 270.0f}, // right
                                           AngleCase{{2, 41}, 90.0f},   // left
                                           AngleCase{{41, 2}, 180.0f},  // above
                                           AngleCase{{41, 80}, 0.0f},   // below
                                           AngleCase{{41, 41}, 90.0f},  // the centre itself
                                           AngleCase{{60, 80}, 334.03f},
                                           AngleCase{{20, 80}, 28.30f}, AngleCase{{80, 2}, 225.0f},
                                           AngleCase{{2, 2}, 135.0f}));

TEST(AngleOfPoint, StaysWithinOneTurnAllAround) {
    // Walk a circle of points; every angle is in 0 .. 360 and the angle
    // follows the walk clockwise except at the seam below the centre.
    float previous = -1.0f;
    int seams = 0;
    for (int step = 0; step < 72; ++step) {
        const double t = step * 5.0 * std::numbers::pi / 180.0;
        // Clockwise on the screen, starting straight below the centre.
        const TPoint p{kCentre.X - static_cast<int>(std::lround(30 * std::sin(t))),
                       kCentre.Y + static_cast<int>(std::lround(30 * std::cos(t)))};
        const float a = AngleOfPoint(kCentre, p);
        // Straight below comes out a few millionths under 0: the angle is held
        // as a float before it is scaled.
        ASSERT_GT(a, -1e-4f);
        ASSERT_LE(a, 360.0f);
        if (a < previous)
            ++seams;
        previous = a;
    }
    EXPECT_EQ(seams, 0);
}

struct RotateCase {
    TPoint p;
    float degrees;
    TPoint expected;
};

class RotatePointTest : public ::testing::TestWithParam<RotateCase> {};

TEST_P(RotatePointTest, TurnsClockwiseAndRoundsEachCoordinate) {
    const auto& c = GetParam();
    EXPECT_EQ(RotatePoint(c.p, kCentre, true, c.degrees), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    PanelDimple, RotatePointTest,
    ::testing::Values(RotateCase{{41, 8}, -153.0f, {26, 70}}, // the minimum, lower left
                      RotateCase{{26, 70}, 151.5f, {40, 8}},  // mid range, left of 12
                      RotateCase{{26, 70}, 303.0f, {57, 69}}, // the maximum, lower right
                      RotateCase{{41, 8}, 0.0f, {41, 8}},
                      RotateCase{{41, 8}, 90.0f, {74, 41}}, // 12 to 3 o'clock
                      RotateCase{{41, 8}, 360.0f, {41, 8}}));

TEST(RotatePoint, CounterClockwiseUndoesClockwise) {
    for (float degrees : {10.0f, 45.0f, 90.0f, 180.0f, 270.0f}) {
        const TPoint turned = RotatePoint({41, 8}, kCentre, true, degrees);
        EXPECT_EQ(RotatePoint(turned, kCentre, false, degrees), Point(41, 8)) << degrees;
    }
}

TEST(RotatePoint, RotatedTwiceCarriesBothRoundings) {
    // The pointer is first placed at the start angle and rounded, then
    // turned by the current angle: the two roundings are not one rotation.
    const TPoint once = RotatePoint({41, 8}, kCentre, true, kStartAngle + 303.0f);
    const TPoint twice =
        RotatePoint(RotatePoint({41, 8}, kCentre, true, kStartAngle), kCentre, true, 303.0f);
    EXPECT_EQ(twice, Point(57, 69));
    EXPECT_EQ(once, Point(58, 70));
}

TEST(FaceGeometry, PanelDial) {
    EXPECT_EQ(FaceCentre(83), kCentre);
    EXPECT_EQ(DimpleRadius(65 - 3), 4);
    const PointerShape start = PointerAtStart(kCentre, kDepth, 8, 4, kStartAngle);
    EXPECT_EQ(start.dimple, Point(26, 70));
    EXPECT_EQ(RotateShape(start, kCentre, PointerAngle(500, kRotAngle)).dimple, Point(40, 8));
    EXPECT_EQ(RotateShape(start, kCentre, PointerAngle(1000, kRotAngle)).dimple, Point(57, 69));
}

TEST(FaceGeometry, UprightShapeHangsFromTheBevelEdge) {
    const PointerShape s = PointerAtStart(kCentre, kDepth, 8, 4, 0);
    EXPECT_EQ(s.apex, Point(41, 3));
    EXPECT_EQ(s.baseRight, Point(45, 11));
    EXPECT_EQ(s.baseLeft, Point(37, 11));
    EXPECT_EQ(s.closing, s.apex);
    EXPECT_EQ(s.lineEnd, Point(41, 11));
    EXPECT_EQ(s.dimple, Point(41, 8));
}

struct RadiusCase {
    int innerWidth;
    int radius;
};

class DimpleRadiusTest : public ::testing::TestWithParam<RadiusCase> {};

TEST_P(DimpleRadiusTest, IsAThirteenthOfTheFaceWithinLimits) {
    EXPECT_EQ(DimpleRadius(GetParam().innerWidth), GetParam().radius);
}

INSTANTIATE_TEST_SUITE_P(Limits, DimpleRadiusTest,
                         ::testing::Values(RadiusCase{0, 2}, RadiusCase{25, 2}, RadiusCase{39, 3},
                                           RadiusCase{62, 4}, RadiusCase{78, 6},
                                           RadiusCase{500, 6}));

TEST(FaceGeometry, OverlongPointerStopsAtTheCentre) {
    // A pointer longer than the face allows would cross the centre and point
    // at the opposite side of the dial.
    const PointerShape s = PointerAtStart(kCentre, kDepth, 200, 4, 0);
    EXPECT_EQ(s.lineEnd, kCentre);
    EXPECT_EQ(s.baseRight.Y, kCentre.Y);
    EXPECT_EQ(EffectivePointerSize(38, kCentre, kDepth), 38);
    EXPECT_EQ(EffectivePointerSize(39, kCentre, kDepth), 38);
    EXPECT_EQ(EffectivePointerSize(-5, kCentre, kDepth), 0);
    // A bevel deeper than the radius leaves no room at all.
    EXPECT_EQ(EffectivePointerSize(8, {3, 3}, 5), 0);
}

struct SeamCase {
    float angle;
    float last;
    float delta;
};

class SeamDeltaTest : public ::testing::TestWithParam<SeamCase> {};

TEST_P(SeamDeltaTest, CarriesAJumpOverTheSeamAsASmallTurn) {
    EXPECT_NEAR(SeamDelta(GetParam().angle, GetParam().last), GetParam().delta, 1e-3);
}

INSTANTIATE_TEST_SUITE_P(Cases, SeamDeltaTest,
                         ::testing::Values(SeamCase{10, 350, 20}, SeamCase{350, 10, -20},
                                           SeamCase{100, 0, 100}, SeamCase{0, 100, -100},
                                           SeamCase{200, 0, 200}, SeamCase{201, 0, -159},
                                           SeamCase{28.30f, 334.03f, 54.27f}));

TEST(GearDrag, SeamCrossingFromTheMinimum) {
    TGearDrag drag;
    drag.Press(kCentre, {60, 80});
    EXPECT_NEAR(drag.LastAngle(), 334.03, 0.005);
    const int digit = drag.Track(kCentre, {20, 80}, kRotAngle, 20, 0);
    EXPECT_EQ(digit, 4);
    EXPECT_NEAR(drag.CurrentAngle(), 54.27, 0.01);
    EXPECT_NEAR(drag.LastAngle(), 28.30, 0.005);
    // The control then settles the pointer on the digit's own angle.
    EXPECT_FLOAT_EQ(PointerAngle(200, kRotAngle), 60.6f);
}

TEST(GearDrag, CounterClockwiseFromTheMinimumDoesNotWindUp) {
    TGearDrag drag;
    drag.Press(kCentre, {20, 80});
    EXPECT_EQ(drag.Track(kCentre, {60, 80}, kRotAngle, 20, 0), 0);
    EXPECT_EQ(drag.CurrentAngle(), 0.0f);
    // The first move back turns the knob at once.
    EXPECT_EQ(drag.Track(kCentre, {20, 80}, kRotAngle, 20, 0), 4);
}

TEST(GearDrag, PastTheMaximumHoldsAtTheEnd) {
    TGearDrag drag;
    drag.SetCurrentAngle(300.0f);
    drag.Press(kCentre, {41, 80});                                 // 0
    EXPECT_EQ(drag.Track(kCentre, {2, 41}, kRotAngle, 20, 0), 20); // +90
    EXPECT_EQ(drag.CurrentAngle(), 303.0f);
    EXPECT_EQ(drag.Track(kCentre, {41, 2}, kRotAngle, 20, 0), 20); // +90 more, held
    EXPECT_EQ(drag.Track(kCentre, {2, 41}, kRotAngle, 20, 0), 14); // back 90 from the end
}

TEST(GearDrag, DigitCountsFromDigitalFrom) {
    TGearDrag drag;
    drag.Press(kCentre, {41, 80});
    EXPECT_EQ(drag.Track(kCentre, {2, 41}, 360, 4, -2), -1); // a quarter turn of four steps
}

TEST(GearDrag, TenTurnKnobNeedsTenTurnsOfTheMouse) {
    // The default 3600-degree sweep: one full turn of the mouse around the
    // centre in small steps covers a tenth of the range.
    TGearDrag drag;
    auto at = [](int degrees) {
        const double t = degrees * std::numbers::pi / 180.0;
        return TPoint{kCentre.X - static_cast<int>(std::lround(35 * std::sin(t))),
                      kCentre.Y + static_cast<int>(std::lround(35 * std::cos(t)))};
    };
    drag.Press(kCentre, at(0));
    int digit = 0;
    for (int turn = 0; turn < 3; ++turn)
        for (int d = 10; d <= 360; d += 10)
            digit = drag.Track(kCentre, at(d), 3600, 1000, 0);
    EXPECT_NEAR(drag.CurrentAngle(), 3 * 360.0, 0.01);
    EXPECT_EQ(digit, 300);
}

TEST(AngleToDigit, HalvesGoToEven) {
    // 2.5 and 3.5 steps: the nudge keeps both at their half, then rounding
    // picks the even neighbour.
    EXPECT_EQ(AngleToDigit(25.0f, 100, 10, 0), 3); // 2.50001 is above the half
    EXPECT_EQ(AngleToDigit(24.9998f, 100, 10, 0), 2);
    EXPECT_EQ(AngleToDigit(0.0f, 303, 20, 0), 0);
    EXPECT_EQ(AngleToDigit(303.0f, 303, 20, 0), 20);
}

} // namespace
