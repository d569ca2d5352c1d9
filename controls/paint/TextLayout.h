// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Arithmetic of the text helpers, apart from measuring and drawing: splitting
// a multi-line text at its separator and placing a text by one of nine
// anchor points. Texts are UTF-8; separators are ASCII characters, so a byte
// search never cuts a multi-byte character.

#include <string>
#include <string_view>

// Where a point lies on the text it anchors: 0 to 2 along the top edge (left,
// centre, right), 3 to 5 across the middle, 6 to 8 along the bottom.
enum TTextAnchor : int {
    anTopLeft,
    anTopCenter,
    anTopRight,
    anMiddleLeft,
    anCenter,
    anMiddleRight,
    anBottomLeft,
    anBottomCenter,
    anBottomRight,
};

// The separator of a multi-line button text.
constexpr char LineSeparator = '|';

// How often `ch` occurs in `text`.
int CountChar(std::string_view text, char ch);

// Splits off the part of `rest` before its first `separator` into `segment`
// and leaves what follows the separator in `rest`; without a separator the
// whole of `rest` becomes the segment and `rest` becomes empty.
void NextSegment(std::string& rest, char separator, std::string& segment);

struct TTextPlacement {
    int x = 0;
    int y = 0;
};

// Top-left corner of a text of size (width, height) whose anchor point is
// (x, y). The half sizes are truncated (width div 2). Unknown anchors put
// the text at (0, 0).
TTextPlacement AnchoredTopLeft(int anchor, int x, int y, int width, int height);

// The first line's y for a block of lines `step` apart with `separators`
// separators, anchored at y: the block's top, middle or bottom line by the
// anchor's row.
int FirstLineY(int anchor, int y, int step, int separators);
