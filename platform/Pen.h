// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The line-drawing state of a canvas.

#include "core/TColor.h"

enum TPenStyle { psSolid, psClear };

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = psSolid;
};
