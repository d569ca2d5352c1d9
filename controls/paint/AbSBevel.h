// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The round bevel of a dial: a shaded ring (a small gradient bitmap rendered
// once per change and stretched on paint), optional outline circles, and a
// face that is flat or a gradient. `Depth` tells the owner how far the
// bevel reaches inward.

#include "controls/base/AbPersistent.h"
#include "controls/paint/AbGradSettings.h"
#include "controls/paint/AbOffset.h"
#include "controls/paint/BevelKinds.h"
#include "core/TColor.h"
#include "platform/Geometry.h"

#include <cstdint>
#include <memory>

class TCanvas;
class TBitmap;

class TAbSBevel : public TAbPersistent {
public:
    // The ring gradient is rendered at this fixed size whatever the dial's.
    static constexpr int RingBitmapSize = 30;
    // Narrower rectangles are left alone by PaintRound.
    static constexpr int MinRoundWidth = 5;
    static constexpr std::int32_t DefaultSpacing = 5;
    static constexpr std::int32_t DefaultWidth = 2;

    TAbSBevel();
    ~TAbSBevel() override;

    std::string ClassName() const override { return "TAbSBevel"; }
    void DeclareProperties(PropertyList& props) override;
    void Assign(const TPersistent& source) override;

    // Recomputes Depth, re-renders the ring of a circular bevel, then fires
    // OnChange.
    void Changed() override;

    TAbOffset* Offset() { return &offset_; }
    const TAbOffset& Offset() const { return offset_; }
    TAbGradSettings* SurfaceGrad() { return &surfaceGrad_; }
    const TAbGradSettings& SurfaceGrad() const { return surfaceGrad_; }

    TBevelStyle Style() const { return style_; }
    std::int32_t Spacing() const { return spacing_; }
    TBevelLine BevelLine() const { return bevelLine_; }
    std::int32_t Width() const { return width_; }
    TColor Color() const { return color_; }
    TColor ColorShadowFrom() const { return colorShadowFrom_; }
    TColor ColorShadowTo() const { return colorShadowTo_; }
    TColor ColorHighLightFrom() const { return colorHighLightFrom_; }
    TColor ColorHighLightTo() const { return colorHighLightTo_; }
    TColor PenColor() const { return penColor_; }

    void SetStyle(TBevelStyle value);
    void SetSpacing(std::int32_t value);
    void SetBevelLine(TBevelLine value);
    // Negative widths are ignored.
    void SetWidth(std::int32_t value);
    void SetColor(TColor value);
    void SetColorShadowFrom(TColor value);
    void SetColorShadowTo(TColor value);
    void SetColorHighLightFrom(TColor value);
    void SetColorHighLightTo(TColor value);
    void SetPenColor(TColor value);

    // Set by the owning control before use; not stored and not copied.
    bool Circular() const { return circular_; }
    void SetCircular(bool value) { circular_ = value; }

    // How far ring, spacing and outline reach inward.
    std::int32_t Depth() const { return depth_; }
    // The rendered ring, or null before the first change of a circular bevel.
    const TBitmap* RingBitmap() const { return ring_.get(); }

    // Paints ring and face into the square at the rectangle's top left,
    // clipped to its circle, and leaves `rect` as the inner face rectangle.
    // (xOffset, yOffset) is the surface origin in device pixels (0 for a
    // bitmap), needed because clip regions are given in device pixels.
    void PaintRound(TCanvas& canvas, TRect& rect, int xOffset, int yOffset);

private:
    void RenderRing();

    TAbOffset offset_;
    TAbGradSettings surfaceGrad_;
    TBevelStyle style_ = bsRaised;
    std::int32_t spacing_ = DefaultSpacing;
    TBevelLine bevelLine_ = blNone;
    std::int32_t width_ = DefaultWidth;
    TColor color_ = clBtnFace;
    TColor colorShadowFrom_ = clBtnShadow;
    TColor colorShadowTo_ = clBtnShadow;
    TColor colorHighLightFrom_ = clBtnHighlight;
    TColor colorHighLightTo_ = clBtnHighlight;
    TColor penColor_ = clBlack;

    bool circular_ = false;
    std::int32_t depth_ = 0;
    std::unique_ptr<TBitmap> ring_;
};
