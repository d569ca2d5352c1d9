// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pure geometry of the gear dial: the angle of a point around the centre, the
// rotation of a point, and the face and pointer shapes that a full repaint
// computes once. Everything here is a function of its arguments, so the
// painting and the drag can be checked without a window.
//
// Angles are in degrees, clockwise on the screen (y grows downward). The
// angle of a point is measured from straight below the centre: 0 below,
// 90 to the left, 180 above, 270 to the right.

#include "platform/Geometry.h"

namespace gear {

// Angle of P around the centre, 0 .. 360. The intermediate angle is held as a
// 32-bit float, and so is the result: the drag adds and compares these
// values, so their precision decides where a digit boundary falls.
float AngleOfPoint(TPoint centre, TPoint p);

// P turned about the centre by the given degrees (the angle is held as a
// 32-bit float), each coordinate rounded to the nearest pixel with halves
// to even. Rotations always start from stored integer points.
TPoint RotatePoint(TPoint p, TPoint centre, bool clockwise, float degrees);

// The smallest and largest radius of the round pointer.
inline constexpr int kMinDimpleRadius = 2;
inline constexpr int kDimpleRadiusLimit = 6;
// The round pointer's radius is this fraction of the inner face's width.
inline constexpr int kDimpleRadiusDivisor = 13;
// Below this inner width the face is too small for a pointer.
inline constexpr int kMinPointerFaceWidth = 10;

// Radius of the round pointer for an inner face of the given width.
int DimpleRadius(int innerFaceWidth, int limit = kDimpleRadiusLimit);

// The face is square; its centre lies at half its width on both axes.
TPoint FaceCentre(int faceWidth);

// A pointer's points in face pixels. The same shape serves all three
// pointer kinds: the triangle is apex, right base corner, left base corner
// and the apex again (closing the outline); the line runs from the apex to
// lineEnd; the round pointer sits at dimple.
struct PointerShape {
    TPoint apex;
    TPoint baseRight;
    TPoint baseLeft;
    TPoint closing;
    TPoint lineEnd;
    TPoint dimple;

    bool operator==(const PointerShape&) const = default;
};

// Pointer length that keeps the pointer between the bevel's inner edge and
// the centre: a longer one would cross the centre and point the wrong way.
int EffectivePointerSize(int pointerSize, TPoint centre, int bevelDepth);

// The pointer at 12 o'clock with its apex at the bevel's inner edge (depth
// pixels below the top), then turned clockwise by startAngle.
PointerShape PointerAtStart(TPoint centre, int bevelDepth, int pointerSize, int dimpleRadius,
                            int startAngle);

// The shape turned clockwise about the centre by the given angle.
PointerShape RotateShape(const PointerShape& shape, TPoint centre, float degrees);

} // namespace gear
