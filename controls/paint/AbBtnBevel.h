// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The graded rectangular bevel of a push button: each of its `Width` rings
// takes a colour between a "from" colour (outermost ring) and a "to" colour
// (innermost), light on the top and left, dark on the bottom and right.

#include "controls/base/AbPersistent.h"
#include "core/TColor.h"
#include "platform/Geometry.h"

#include <cstdint>

class TCanvas;

class TAbBtnBevel : public TAbPersistent {
public:
    static constexpr TColor DefaultHighlightColFrom = 0xD2D2D2;
    static constexpr std::int32_t DefaultWidth = 2;

    // The two colours of one ring of the bevel.
    struct RingColors {
        TColor topLeft;
        TColor bottomRight;
    };

    std::string ClassName() const override { return "TAbBtnBevel"; }
    void DeclareProperties(PropertyList& props) override;
    void Assign(const TPersistent& source) override;

    TColor ShadowColFrom() const { return shadowColFrom_; }
    TColor ShadowColTo() const { return shadowColTo_; }
    TColor HighlightColFrom() const { return highlightColFrom_; }
    TColor HighlightColTo() const { return highlightColTo_; }
    std::int32_t Width() const { return width_; }

    void SetShadowColFrom(TColor value);
    void SetShadowColTo(TColor value);
    void SetHighlightColFrom(TColor value);
    void SetHighlightColTo(TColor value);
    // Negative widths are ignored.
    void SetWidth(std::int32_t value);

    // Colours of ring `ring` (1 is the outermost). A pressed (not raised)
    // bevel runs the colours the other way round and swaps light and dark.
    RingColors RingColor(int ring, bool raised) const;

    // Optionally fills `rect` with the face colour, then draws the rings from
    // the outside in; `rect` comes back shrunk by `Width` on every side.
    void PaintBevel(TCanvas& canvas, TRect& rect, bool raised, bool fillFace,
                    TColor faceColor) const;

private:
    TColor shadowColFrom_ = clBlack;
    TColor shadowColTo_ = clBtnShadow;
    TColor highlightColFrom_ = DefaultHighlightColFrom;
    TColor highlightColTo_ = clBtnHighlight;
    std::int32_t width_ = DefaultWidth;
};
