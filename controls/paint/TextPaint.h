// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Measuring and drawing the texts of the panel controls: single texts placed
// by an anchor point and multi-line texts split at "|", optionally with a
// raised 3D look. All draw in the canvas's current font.

#include "controls/paint/TextLayout.h"
#include "core/TColor.h"
#include "platform/Geometry.h"

#include <string>

class TCanvas;

struct TTextSize {
    int width = 0;
    int height = 0;
    TPoint half; // (width div 2, height div 2)
};

TTextSize TextSize(TCanvas& canvas, const std::string& text);

struct TMultiLineSize {
    int maxWidth = 0;   // the widest segment
    int lineHeight = 0; // the height of the text in the current font
};

// The widest of the segments between separators, and the line height.
TMultiLineSize MultiLineSize(TCanvas& canvas, const std::string& text, char separator);

// Draws `text` with its anchor point (0 to 8, see TTextAnchor) at (x, y).
void TextOutAnchored(TCanvas& canvas, int x, int y, const std::string& text, int anchor);

// Draws the lines of `text` (separated by "|") one under the other, each
// placed by `anchor`, the block as a whole anchored at (x, y). With text3D
// every line is first drawn one pixel down-right in lowerRightColor and one
// pixel up-left in upperLeftColor. The font colour is left at textColor.
void DrawMultiLineText(TCanvas& canvas, int x, int y, int lineGap, TColor textColor,
                       TColor upperLeftColor, TColor lowerRightColor, const std::string& text,
                       int anchor, bool text3D);
