// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pixel geometry shared by the painting code: points and rectangles whose
// right and bottom edges lie just outside the area they describe.

struct TPoint {
    int X = 0;
    int Y = 0;

    friend constexpr bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    constexpr int Width() const { return Right - Left; }
    constexpr int Height() const { return Bottom - Top; }
    // True when the rectangle covers no pixel (also for swapped corners).
    constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    // The same rectangle with its corners in order (Left <= Right, Top <= Bottom).
    constexpr TRect Normalized() const {
        return {Left < Right ? Left : Right, Top < Bottom ? Top : Bottom,
                Left < Right ? Right : Left, Top < Bottom ? Bottom : Top};
    }
    constexpr TRect Translated(int dx, int dy) const {
        return {Left + dx, Top + dy, Right + dx, Bottom + dy};
    }

    friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

struct TSize {
    int cx = 0;
    int cy = 0;

    friend constexpr bool operator==(const TSize&, const TSize&) = default;
};

constexpr TPoint Point(int x, int y) {
    return {x, y};
}
constexpr TRect Rect(int left, int top, int right, int bottom) {
    return {left, top, right, bottom};
}
constexpr TRect Bounds(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}
