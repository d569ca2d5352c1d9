// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The gear dial's round bevel: a TAbSBevel set up as the dial wants it, with
// that set-up as its stored defaults (a dial saved with, say, no bevel line
// must not come back with the outer line of a new dial).

#include "controls/paint/AbSBevel.h"

class TAbGearDialBevel : public TAbSBevel {
public:
    // The dial's set-up, applied in this order: Circular before BevelLine,
    // so the BevelLine change already renders the ring.
    static constexpr TColor DialColorShadowFrom = clBtnHighlight;
    static constexpr TColor DialColorShadowTo = clBtnShadow;
    static constexpr TBevelLine DialBevelLine = blOuter;
    static constexpr TColor DialPenColor = clBtnShadow;
    static constexpr std::int32_t DialSpacing = 1;

    TAbGearDialBevel();
};
