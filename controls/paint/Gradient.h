// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The gradient painter and the colour blend of the bevels.

#include "controls/paint/GradientStyle.h"
#include "core/TColor.h"
#include "platform/Geometry.h"

class TCanvas;

// Step `step` of `steps` between two colours, each channel rounded (halves
// to even) and wrapped into a byte. Colours that resolve to the same value
// give `from` itself, so a system colour stays a system colour. A step count
// of 0 counts as 1.
TColor BlendColor(TColor from, TColor to, int steps, int step);

// Fills `rect` with a gradient from `from` to `to`. The gradient is built in
// an off-screen bitmap and put on the canvas in one copy. An empty rectangle
// draws nothing.
void PaintGradient(TCanvas& canvas, const TRect& rect, TColor from, TColor to,
                   TGradientStyle style);

// Draws the gradient straight onto a canvas whose area (0, 0, width, height)
// is white (a new bitmap). PaintGradient uses it on its work bitmap; tests
// and galleries use it to look at one style without the final copy.
void RenderGradient(TCanvas& canvas, int width, int height, TColor from, TColor to,
                    TGradientStyle style);
