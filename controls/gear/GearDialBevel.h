#pragma once
// The gear dial's round bevel. It is a TAbSBevel in every respect but one:
// the dial sets its bevel up differently from the bevel's own defaults, and
// a stored layout leaves out every value equal to its declared default. So
// the dial's bevel declares the dial's set-up as its defaults; otherwise a
// dial saved with, say, no bevel line would come back with the outer line
// of a new dial.

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

    void DeclareProperties(PropertyList& props) override;
};
