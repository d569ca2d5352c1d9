// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/paint/AbSBevel.h"

#include "controls/base/RectHelpers.h"
#include "controls/paint/Gradient.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"

namespace {

// How far the bevel reaches inward: ring, spacing and each outline circle.
std::int32_t BevelDepth(std::int32_t width, std::int32_t spacing, TBevelLine line) {
    std::int32_t depth = spacing + width;
    if (line == blOuter || line == blInner)
        depth += 1;
    else if (line == blBoth)
        depth += 2;
    return depth;
}

} // namespace

TAbSBevel::TAbSBevel() : depth_(BevelDepth(width_, spacing_, bevelLine_)) {
    // A change inside the offsets or the face gradient is a change of the
    // bevel, so that the owner needs to listen to the bevel only.
    offset_.SetOnChange([this](TPersistent*) { Changed(); });
    surfaceGrad_.SetOnChange([this](TPersistent*) { Changed(); });
}

TAbSBevel::~TAbSBevel() = default;

void TAbSBevel::DeclareProperties(PropertyList& props) {
    TAbPersistent::DeclareProperties(props);
    props.Object("Offset", static_cast<TAbOffset* (TAbSBevel::*)()>(&TAbSBevel::Offset));
    props.Enum("Style", &TAbSBevel::Style, &TAbSBevel::SetStyle, BevelStyleNames(), bsRaised);
    props.Int("Spacing", &TAbSBevel::Spacing, &TAbSBevel::SetSpacing, DefaultSpacing);
    props.Enum("BevelLine", &TAbSBevel::BevelLine, &TAbSBevel::SetBevelLine, BevelLineNames(),
               blNone);
    props.Int("Width", &TAbSBevel::Width, &TAbSBevel::SetWidth, DefaultWidth);
    props.Color("Color", &TAbSBevel::Color, &TAbSBevel::SetColor, clBtnFace);
    props.Color("ColorShadowFrom", &TAbSBevel::ColorShadowFrom, &TAbSBevel::SetColorShadowFrom,
                clBtnShadow);
    props.Color("ColorShadowTo", &TAbSBevel::ColorShadowTo, &TAbSBevel::SetColorShadowTo,
                clBtnShadow);
    props.Color("ColorHighLightFrom", &TAbSBevel::ColorHighLightFrom,
                &TAbSBevel::SetColorHighLightFrom, clBtnHighlight);
    props.Color("ColorHighLightTo", &TAbSBevel::ColorHighLightTo, &TAbSBevel::SetColorHighLightTo,
                clBtnHighlight);
    props.Color("PenColor", &TAbSBevel::PenColor, &TAbSBevel::SetPenColor, clBlack);
    props.Object("SurfaceGrad",
                 static_cast<TAbGradSettings* (TAbSBevel::*)()>(&TAbSBevel::SurfaceGrad));
}

void TAbSBevel::Assign(const TPersistent& source) {
    const auto* other = dynamic_cast<const TAbSBevel*>(&source);
    if (!other)
        AssignError(source);
    style_ = other->style_;
    spacing_ = other->spacing_;
    bevelLine_ = other->bevelLine_;
    width_ = other->width_;
    color_ = other->color_;
    colorShadowFrom_ = other->colorShadowFrom_;
    colorShadowTo_ = other->colorShadowTo_;
    colorHighLightFrom_ = other->colorHighLightFrom_;
    colorHighLightTo_ = other->colorHighLightTo_;
    penColor_ = other->penColor_;
    offset_.Assign(other->offset_);
    surfaceGrad_.Assign(other->surfaceGrad_);
    Changed();
}

void TAbSBevel::Changed() {
    depth_ = BevelDepth(width_, spacing_, bevelLine_);
    if (circular_)
        RenderRing();
    TAbPersistent::Changed();
}

void TAbSBevel::RenderRing() {
    if (!ring_)
        ring_ = std::make_unique<TBitmap>(RingBitmapSize, RingBitmapSize);
    PaintGradient(ring_->Canvas(), TRect{0, 0, RingBitmapSize, RingBitmapSize}, colorShadowFrom_,
                  colorShadowTo_, gsTopLeft);
}

void TAbSBevel::SetStyle(TBevelStyle value) {
    if (value == style_ || (value != bsLowered && value != bsRaised))
        return;
    style_ = value;
    Changed();
}

void TAbSBevel::SetSpacing(std::int32_t value) {
    Store(spacing_, value);
}

void TAbSBevel::SetBevelLine(TBevelLine value) {
    if (value == bevelLine_ || value < blNone || value > blBoth)
        return;
    bevelLine_ = value;
    Changed();
}

void TAbSBevel::SetWidth(std::int32_t value) {
    if (value < 0)
        return;
    Store(width_, value);
}

void TAbSBevel::SetColor(TColor value) {
    Store(color_, value);
}
void TAbSBevel::SetColorShadowFrom(TColor value) {
    Store(colorShadowFrom_, value);
}
void TAbSBevel::SetColorShadowTo(TColor value) {
    Store(colorShadowTo_, value);
}
void TAbSBevel::SetColorHighLightFrom(TColor value) {
    Store(colorHighLightFrom_, value);
}
void TAbSBevel::SetColorHighLightTo(TColor value) {
    Store(colorHighLightTo_, value);
}
void TAbSBevel::SetPenColor(TColor value) {
    Store(penColor_, value);
}

void TAbSBevel::PaintRound(TCanvas& canvas, TRect& rect, int xOffset, int yOffset) {
    const int w = rect.Right - rect.Left;
    if (w < MinRoundWidth || !circular_ || !ring_)
        return;

    TBitmap work(w, w);
    TCanvas& face = work.Canvas();
    const TRect clip = canvas.ClipRect();

    // The ring: the light corner top left when raised; turned by half a
    // circle (mirrored both ways) when lowered.
    if (style_ == bsRaised)
        face.StretchDraw({0, 0, w, w}, *ring_);
    else
        face.StretchDraw({w + 1, w + 1, -1, -1}, *ring_);

    TRect inner = ShrinkRect({0, 0, w, w}, width_);
    depth_ = width_ + spacing_;
    if (HasOuterLine(bevelLine_)) {
        face.Brush().Style = bsClear;
        face.Pen().Color = penColor_;
        face.Ellipse(0, 0, w, w);
        inner = ShrinkRect(inner, 1);
        depth_ += 1;
    }
    face.Brush().Style = bsSolid;
    face.Brush().Color = color_;
    if (HasInnerLine(bevelLine_)) {
        face.Pen().Color = penColor_;
        depth_ += 1;
    } else {
        face.Pen().Color = color_;
    }
    if (!surfaceGrad_.Visible())
        face.Ellipse(inner);

    // Only the disc reaches the canvas; the corners keep what was there.
    const TRegion disc = TRegion::Elliptic({rect.Left + xOffset, rect.Top + yOffset,
                                            rect.Right + xOffset + 1, rect.Bottom + yOffset + 1});
    canvas.SelectClipRgn(disc);
    canvas.CopyRect(rect, work, {0, 0, w, w});
    canvas.SelectClipRgn(TRegion::Rectangle(clip.Translated(xOffset, yOffset)));

    if (surfaceGrad_.Visible()) {
        const TRect faceRect = ShrinkRect(rect, width_);
        const TRegion faceDisc =
            TRegion::Elliptic({faceRect.Left + xOffset, faceRect.Top + yOffset,
                               faceRect.Right + xOffset + 1, faceRect.Bottom + yOffset + 1});
        canvas.SelectClipRgn(faceDisc);
        PaintGradient(canvas, faceRect, surfaceGrad_.ColorFrom(), surfaceGrad_.ColorTo(),
                      surfaceGrad_.Style());
        if (HasInnerLine(bevelLine_)) {
            canvas.Brush().Style = bsClear;
            canvas.Pen().Color = penColor_;
            canvas.Pen().Width = 1;
            canvas.Ellipse(faceRect);
        }
        // The owner may draw more on this surface: give it the old clip back.
        canvas.SelectClipRgn(TRegion::Rectangle(clip.Translated(xOffset, yOffset)));
    }

    rect = offset_.Apply(ShrinkRect(rect, depth_));
}
