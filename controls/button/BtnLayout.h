// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The arithmetic of composing a coloured button's face, apart from drawing:
// which parts show the on state, where the glyph-and-text block goes, and
// which glyph cell is shown.

#include "controls/button/BinGTypes.h"
#include "platform/Geometry.h"

// Which parts of the button show their on look.
struct TBtnLookFlags {
    bool glyph = false;
    bool text = false;
    bool textColor = false;
    bool faceColor = false;
};

// While checked and flashing, a part with its flash option follows the flash
// phase; otherwise a part with its checked option shows the checked state.
TBtnLookFlags LookFlags(TFlashOptions flashOptions, TCheckedOptions checkedOptions, bool checked,
                        bool flashing, bool flashPhase);

struct TBtnBlockPlacement {
    TPoint glyph; // top-left corner of the glyph cell
    TPoint text;  // anchor point of the text
    int anchor = 0;
};

// Places a glyph cell of cellW x cellH and a text of textW x textH (the
// widest line, all lines) with `spacing` between them (no spacing when
// either is missing) inside `r`, shifted by (dx, dy).
TBtnBlockPlacement PlaceBlock(const TRect& r, int cellW, int cellH, int textW, int textH,
                              int spacing, TPosH posH, TPosV posV, TPos posGlyph, int dx, int dy);

// Cell 0 normal, 1 disabled, 2 on; cells 1 and 2 only when the strip has them.
int GlyphCellIndex(int numGlyph, bool enabled, bool glyphFlag);
