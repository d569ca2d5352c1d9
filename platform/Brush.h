// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fill state of a canvas.

#include "core/TColor.h"

enum TBrushStyle { bsSolid, bsClear };

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = bsSolid;
};
