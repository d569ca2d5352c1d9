// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small integer geometry shared by the controls' painting and hit tests.
// Rectangles exclude their right edge; PointInRect deliberately counts the
// bottom edge in, as the controls' hit test always has.

#include "platform/Geometry.h"

#include <cmath>

constexpr int MaxOf(int a, int b) {
    return a > b ? a : b;
}

// Left <= x < Right and Top <= y <= Bottom.
constexpr bool PointInRect(int x, int y, const TRect& r) {
    return x >= r.Left && x < r.Right && y >= r.Top && y <= r.Bottom;
}

// Whether (x, y) lies in the circle whose diameter is the rectangle's width,
// centred in the rectangle (also when the rectangle is taller than wide).
inline bool PointInCircle(int x, int y, const TRect& r) {
    const double cx = r.Left + (r.Right - r.Left) / 2.0;
    const double cy = r.Top + (r.Bottom - r.Top) / 2.0;
    return r.Right - r.Left >= 2.0 * std::hypot(x - cx, y - cy);
}

// All four sides moved inward by d.
constexpr TRect ShrinkRect(const TRect& r, int d) {
    return {r.Left + d, r.Top + d, r.Right - d, r.Bottom - d};
}

// The centre, rounded toward the top left for even sizes (div truncates).
constexpr TPoint RectCenter(const TRect& r) {
    return {r.Left + (r.Right - r.Left) / 2, r.Top + (r.Bottom - r.Top) / 2};
}
