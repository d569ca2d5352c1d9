// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/EllipseSpans.h"

#include <algorithm>
#include <cmath>

std::vector<TSpan> EllipseSpans(const TRect& box) {
    const int n = box.Width();
    const int m = box.Height();
    std::vector<TSpan> spans;
    if (n <= 0 || m <= 0)
        return spans;
    spans.resize(std::size_t(m));

    // Pixel (x, y) covers [x, x+1) x [y, y+1); a pixel belongs to the ellipse
    // when its centre does. Only the upper half is computed; the rest is
    // mirrored, which keeps the shape exactly symmetric.
    const double a = n / 2.0;
    const double b = m / 2.0;
    const double cx = box.Left + a;
    // Tolerance against rounding when a centre lies exactly on the curve.
    constexpr double kEpsilon = 1e-9;
    // Every row reaches at least the middle pixel (or the middle two), so
    // that thin ellipses stay connected.
    const int innermostLeft = box.Left + (n - 1) / 2;
    for (int j = 0; j < (m + 1) / 2; ++j) {
        const double dy = (j + 0.5) - b;
        const double ratio = dy / b;
        const double halfWidth = a * std::sqrt(std::max(0.0, 1.0 - ratio * ratio));
        int left = int(std::ceil(cx - halfWidth - 0.5 - kEpsilon));
        left = std::clamp(left, box.Left, innermostLeft);
        // The middle row (or rows) spans the whole box, so that the box's
        // left and right columns are always touched.
        if (j == (m - 1) / 2)
            left = box.Left;
        const int right = box.Left + box.Right - 1 - left;
        spans[std::size_t(j)] = {box.Top + j, left, right};
        spans[std::size_t(m - 1 - j)] = {box.Top + m - 1 - j, left, right};
    }
    return spans;
}

std::vector<TPoint> SpanOutline(const std::vector<TSpan>& spans) {
    std::vector<TPoint> outline;
    auto covers = [](const TSpan* s, int x) { return s && s->Left <= x && x <= s->Right; };
    for (std::size_t i = 0; i < spans.size(); ++i) {
        const TSpan& s = spans[i];
        const TSpan* above = (i > 0 && spans[i - 1].Y == s.Y - 1) ? &spans[i - 1] : nullptr;
        const TSpan* below =
            (i + 1 < spans.size() && spans[i + 1].Y == s.Y + 1) ? &spans[i + 1] : nullptr;
        for (int x = s.Left; x <= s.Right; ++x) {
            if (x == s.Left || x == s.Right || !covers(above, x) || !covers(below, x))
                outline.push_back({x, s.Y});
        }
    }
    return outline;
}
