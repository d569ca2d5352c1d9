// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fourteen ways the gradient painter spreads two colours over a rectangle.

#include <string>
#include <vector>

enum TGradientStyle : int {
    gsHorizontal1, // bands, first colour at the top
    gsHorizontal2, // first colour on the middle row, second at both edges
    gsHorizontal3, // lightest row a third of the way down
    gsVertical1,
    gsVertical2,
    gsVertical3,
    gsElliptic1, // nested ellipses about the centre
    gsElliptic2,
    gsElliptic3, // centre moved toward the top left
    gsRectangle,
    gsDiamond1,
    gsDiamond2,
    gsTopLeft, // first colour in the top-left corner
    gsTopRight,
};

constexpr int GradientStyleCount = gsTopRight + 1;

// Member names as a stored layout writes them, in ordinal order.
const std::vector<std::string>& GradientStyleNames();
