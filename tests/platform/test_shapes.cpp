// SPDX-License-Identifier: GPL-3.0-or-later
// The surface's own pixel geometry: ellipse spans and their outline, and
// 1-pixel lines.

#include "GeometryPrinters.h"

#include "platform/EllipseSpans.h"
#include "platform/LinePixels.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <utility>

TEST(EllipseSpans, EverySizeIsSymmetricAndTouchesItsWholeBox) {
    for (int w = 1; w <= 40; ++w) {
        for (int h = 1; h <= 40; ++h) {
            const TRect box{3, 5, 3 + w, 5 + h};
            const auto spans = EllipseSpans(box);
            ASSERT_EQ(int(spans.size()), h) << w << "x" << h;
            bool touchesLeft = false;
            for (int i = 0; i < h; ++i) {
                const TSpan& s = spans[std::size_t(i)];
                const TSpan& mirror = spans[std::size_t(h - 1 - i)];
                ASSERT_EQ(s.Y, box.Top + i);
                ASSERT_LE(box.Left, s.Left);
                ASSERT_LE(s.Left, s.Right);
                ASSERT_EQ(s.Left - box.Left, box.Right - 1 - s.Right) << w << "x" << h;
                ASSERT_EQ(s.Left, mirror.Left) << w << "x" << h;
                touchesLeft = touchesLeft || s.Left == box.Left;
            }
            EXPECT_TRUE(touchesLeft) << w << "x" << h;
            // Widest in the middle, narrowing towards the top.
            for (int i = 1; i <= (h - 1) / 2; ++i)
                ASSERT_LE(spans[std::size_t(i)].Left, spans[std::size_t(i - 1)].Left);
        }
    }
}

TEST(EllipseSpans, EmptyOrSwappedBoxGivesNothing) {
    EXPECT_TRUE(EllipseSpans({0, 0, 0, 5}).empty());
    EXPECT_TRUE(EllipseSpans({5, 5, 0, 0}).empty());
}

TEST(EllipseSpans, CircleOfTen) {
    const auto spans = EllipseSpans({0, 0, 10, 10});
    const int lefts[10] = {3, 1, 1, 0, 0, 0, 0, 1, 1, 3};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(spans[std::size_t(i)].Left, lefts[i]) << "row " << i;
}

TEST(SpanOutline, IsAClosedEightConnectedRingInsideTheShape) {
    for (int w : {3, 7, 12, 31, 84}) {
        const auto spans = EllipseSpans({0, 0, w, w});
        std::set<std::pair<int, int>> inside;
        for (const TSpan& s : spans)
            for (int x = s.Left; x <= s.Right; ++x)
                inside.insert({x, s.Y});
        const auto outline = SpanOutline(spans);
        std::set<std::pair<int, int>> ring;
        for (const TPoint& p : outline) {
            EXPECT_TRUE(inside.contains({p.X, p.Y}));
            EXPECT_TRUE(ring.insert({p.X, p.Y}).second) << "pixel twice";
        }
        // Every ring pixel has at least two ring neighbours (a closed curve).
        for (auto [x, y] : ring) {
            int neighbours = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    if ((dx || dy) && ring.contains({x + dx, y + dy}))
                        ++neighbours;
            EXPECT_GE(neighbours, 2) << w << ": " << x << "," << y;
        }
    }
}

TEST(LinePixels, StepsOnePixelAtATimeAndStopsBeforeTheEnd) {
    const TPoint from{7, 7};
    for (int dx = -9; dx <= 9; ++dx) {
        for (int dy = -9; dy <= 9; ++dy) {
            const TPoint to{from.X + dx, from.Y + dy};
            const auto pixels = LinePixels(from, to);
            ASSERT_EQ(int(pixels.size()), std::max(std::abs(dx), std::abs(dy)));
            if (pixels.empty())
                continue;
            EXPECT_EQ(pixels.front(), from);
            TPoint previous = pixels.front();
            for (std::size_t i = 1; i < pixels.size(); ++i) {
                ASSERT_LE(std::abs(pixels[i].X - previous.X), 1);
                ASSERT_LE(std::abs(pixels[i].Y - previous.Y), 1);
                previous = pixels[i];
            }
            EXPECT_LE(std::abs(to.X - previous.X), 1);
            EXPECT_LE(std::abs(to.Y - previous.Y), 1);
            // Each pixel lies within half a pixel of the ideal line.
            for (const TPoint& p : pixels) {
                const double cross = double(p.X - from.X) * dy - double(p.Y - from.Y) * dx;
                EXPECT_LE(std::abs(cross), 0.5 * std::max(std::abs(dx), std::abs(dy)) + 1e-9);
            }
        }
    }
}
