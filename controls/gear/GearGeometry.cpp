// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/gear/GearGeometry.h"

#include "controls/paint/RoundEven.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace gear {

namespace {
// Keeps atan away from a division by zero for points level with the centre.
constexpr double kAtanGuard = 0.0001;
} // namespace

float AngleOfPoint(TPoint centre, TPoint p) {
    const double dx = p.X - centre.X;
    const double dy = p.Y - centre.Y;
    constexpr double pi = std::numbers::pi;
    float t;
    if (dy == 0)
        t = static_cast<float>(dx > 0 ? pi / 2 : -pi / 2);
    else if (dy < 0)
        t = static_cast<float>(std::atan(-dx / (dy + kAtanGuard)));
    else if (dx > 0)
        t = static_cast<float>(pi - std::atan(dx / (dy + kAtanGuard)));
    else
        t = static_cast<float>(-std::atan(dx / (dy + kAtanGuard)) - pi);
    return static_cast<float>(static_cast<double>(t) * 180.0 / pi + 180.0);
}

TPoint RotatePoint(TPoint p, TPoint centre, bool clockwise, float degrees) {
    const float a = static_cast<float>(static_cast<double>(degrees) * std::numbers::pi / 180.0);
    const double c = std::cos(static_cast<double>(a));
    const double s = std::sin(static_cast<double>(a));
    const double dx = p.X - centre.X;
    const double dy = p.Y - centre.Y;
    if (clockwise)
        return {centre.X + RoundEven(dx * c - dy * s), centre.Y + RoundEven(dy * c + dx * s)};
    return {centre.X + RoundEven(dx * c + dy * s), centre.Y + RoundEven(dy * c - dx * s)};
}

int DimpleRadius(int innerFaceWidth, int limit) {
    int r = innerFaceWidth / kDimpleRadiusDivisor;
    if (r < kMinDimpleRadius)
        r = kMinDimpleRadius;
    if (r > limit)
        r = limit;
    return r;
}

TPoint FaceCentre(int faceWidth) {
    return {faceWidth / 2, faceWidth / 2};
}

int EffectivePointerSize(int pointerSize, TPoint centre, int bevelDepth) {
    const int room = std::max(0, centre.Y - bevelDepth);
    return std::clamp(pointerSize, 0, room);
}

PointerShape PointerAtStart(TPoint centre, int bevelDepth, int pointerSize, int dimpleRadius,
                            int startAngle) {
    const int s = EffectivePointerSize(pointerSize, centre, bevelDepth);
    const int h = s / 2;
    const int cx = centre.X;
    const int d = bevelDepth;
    const PointerShape upright{{cx, d}, {cx + h, d + s}, {cx - h, d + s},
                               {cx, d}, {cx, d + s},     {cx, d + dimpleRadius + 1}};
    return RotateShape(upright, centre, static_cast<float>(startAngle));
}

PointerShape RotateShape(const PointerShape& shape, TPoint centre, float degrees) {
    auto turn = [&](TPoint p) { return RotatePoint(p, centre, true, degrees); };
    return {turn(shape.apex),    turn(shape.baseRight), turn(shape.baseLeft),
            turn(shape.closing), turn(shape.lineEnd),   turn(shape.dimple)};
}

} // namespace gear
