// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/LinePixels.h"

#include <cstdlib>

std::vector<TPoint> LinePixels(TPoint from, TPoint to) {
    std::vector<TPoint> pixels;
    const int dx = std::abs(to.X - from.X);
    const int dy = -std::abs(to.Y - from.Y);
    const int sx = from.X < to.X ? 1 : -1;
    const int sy = from.Y < to.Y ? 1 : -1;
    pixels.reserve(std::size_t(dx > -dy ? dx : -dy));
    int err = dx + dy;
    TPoint p = from;
    while (p != to) {
        pixels.push_back(p);
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            p.X += sx;
        }
        if (e2 <= dx) {
            err += dx;
            p.Y += sy;
        }
    }
    return pixels;
}
