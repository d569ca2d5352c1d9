// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The gear dial's pointer: a round dimple pressed into the face, a line, or
// a filled triangle, drawn on a surface at an already rotated shape.

#include "controls/gear/GearGeometry.h"
#include "core/TColor.h"
#include "platform/Geometry.h"

#include <string>
#include <vector>

class TCanvas;

enum TDialPointer : int { dpRound, dpLine, dpTriangle };

const std::vector<std::string>& DialPointerNames();

namespace gear {

// A disc in `color` around `centre`, outlined so that it looks pressed into
// the face: light on the lower right, dark on the upper left.
void DrawDimple(TCanvas& canvas, TPoint centre, int radius, TColor color);

// A 2-pixel line from the shape's apex to its line end.
void DrawLinePointer(TCanvas& canvas, const PointerShape& shape, TColor color);

// The triangle through the shape's corners, filled in `color` with a black
// outline.
void DrawTrianglePointer(TCanvas& canvas, const PointerShape& shape, TColor color);

// The pointer of the given kind; the round one sits at the shape's dimple.
void DrawPointer(TCanvas& canvas, TDialPointer kind, const PointerShape& shape, int dimpleRadius,
                 TColor color);

} // namespace gear
