// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/gear/GearPointer.h"

#include "platform/Canvas.h"

#include <array>

const std::vector<std::string>& DialPointerNames() {
    static const std::vector<std::string> names{"dpRound", "dpLine", "dpTriangle"};
    return names;
}

namespace gear {

namespace {
constexpr int kLinePenWidth = 2;
constexpr int kOutlinePenWidth = 1;
// The dark half of the dimple's outline starts a little beyond the upper
// right of its box, so that the light half keeps the whole lower right.
constexpr int kArcStartReach = 2;
} // namespace

void DrawDimple(TCanvas& canvas, TPoint centre, int radius, TColor color) {
    const int x = centre.X;
    const int y = centre.Y;
    const int r = radius;
    const TRect box{x - r, y - r, x + r + 1, y + r + 1};
    canvas.Brush().Style = bsSolid;
    canvas.Brush().Color = color;
    canvas.Pen().Style = psSolid;
    canvas.Pen().Width = kOutlinePenWidth;
    canvas.Pen().Color = clBtnHighlight;
    canvas.Ellipse(box);
    canvas.Pen().Color = clBtnShadow;
    canvas.Arc(box, {x + r + kArcStartReach, y - r}, {x - r, y + r + 1});
}

void DrawLinePointer(TCanvas& canvas, const PointerShape& shape, TColor color) {
    canvas.Pen().Style = psSolid;
    canvas.Pen().Color = color;
    canvas.Pen().Width = kLinePenWidth;
    canvas.MoveTo(shape.apex.X, shape.apex.Y);
    canvas.LineTo(shape.lineEnd.X, shape.lineEnd.Y);
}

void DrawTrianglePointer(TCanvas& canvas, const PointerShape& shape, TColor color) {
    canvas.Pen().Style = psSolid;
    canvas.Pen().Color = clBlack;
    canvas.Pen().Width = kOutlinePenWidth;
    canvas.Brush().Style = bsSolid;
    canvas.Brush().Color = color;
    const std::array<TPoint, 4> outline{shape.apex, shape.baseRight, shape.baseLeft, shape.closing};
    canvas.Polygon(outline);
}

void DrawPointer(TCanvas& canvas, TDialPointer kind, const PointerShape& shape, int dimpleRadius,
                 TColor color) {
    switch (kind) {
    case dpRound:
        DrawDimple(canvas, shape.dimple, dimpleRadius, color);
        break;
    case dpLine:
        DrawLinePointer(canvas, shape, color);
        break;
    case dpTriangle:
        DrawTrianglePointer(canvas, shape, color);
        break;
    }
}

} // namespace gear
