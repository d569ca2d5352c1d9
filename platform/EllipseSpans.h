// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pixels of an ellipse as horizontal spans, computed here rather than by
// the toolkit so that filled ellipses, their outlines, arcs and elliptic
// clipping regions cover exactly the same, mirror-symmetric pixels.

#include "platform/Geometry.h"

#include <vector>

struct TSpan {
    int Y = 0;
    int Left = 0;  // first pixel of the row
    int Right = 0; // last pixel of the row (inclusive)

    friend constexpr bool operator==(const TSpan&, const TSpan&) = default;
};

// The ellipse inscribed in the pixels Left .. Right-1 and Top .. Bottom-1 of
// the box: one span per row, top to bottom; every row and column of the box
// is touched. An empty box gives no spans.
std::vector<TSpan> EllipseSpans(const TRect& box);

// The pixels of the spans that touch the outside (a 4-neighbour outside the
// set): the 1-pixel outline of the shape, each pixel once.
std::vector<TPoint> SpanOutline(const std::vector<TSpan>& spans);
