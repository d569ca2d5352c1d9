// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/paint/AbBtnBevel.h"

#include "controls/base/RectHelpers.h"
#include "controls/paint/Gradient.h"
#include "platform/Canvas.h"

void TAbBtnBevel::DeclareProperties(PropertyList& props) {
    TAbPersistent::DeclareProperties(props);
    props.Color("ShadowColFrom", &TAbBtnBevel::ShadowColFrom, &TAbBtnBevel::SetShadowColFrom,
                clBlack);
    props.Color("ShadowColTo", &TAbBtnBevel::ShadowColTo, &TAbBtnBevel::SetShadowColTo,
                clBtnShadow);
    props.Color("HighlightColFrom", &TAbBtnBevel::HighlightColFrom,
                &TAbBtnBevel::SetHighlightColFrom, DefaultHighlightColFrom);
    props.Color("HighlightColTo", &TAbBtnBevel::HighlightColTo, &TAbBtnBevel::SetHighlightColTo,
                clBtnHighlight);
    props.Int("Width", &TAbBtnBevel::Width, &TAbBtnBevel::SetWidth, DefaultWidth);
}

void TAbBtnBevel::Assign(const TPersistent& source) {
    const auto* other = dynamic_cast<const TAbBtnBevel*>(&source);
    if (!other)
        AssignError(source);
    shadowColFrom_ = other->shadowColFrom_;
    shadowColTo_ = other->shadowColTo_;
    highlightColFrom_ = other->highlightColFrom_;
    highlightColTo_ = other->highlightColTo_;
    width_ = other->width_;
    Changed();
}

void TAbBtnBevel::SetShadowColFrom(TColor value) {
    Store(shadowColFrom_, value);
}
void TAbBtnBevel::SetShadowColTo(TColor value) {
    Store(shadowColTo_, value);
}
void TAbBtnBevel::SetHighlightColFrom(TColor value) {
    Store(highlightColFrom_, value);
}
void TAbBtnBevel::SetHighlightColTo(TColor value) {
    Store(highlightColTo_, value);
}

void TAbBtnBevel::SetWidth(std::int32_t value) {
    if (value >= 0)
        Store(width_, value);
}

TAbBtnBevel::RingColors TAbBtnBevel::RingColor(int ring, bool raised) const {
    if (raised)
        return {BlendColor(highlightColFrom_, highlightColTo_, width_, ring),
                BlendColor(shadowColFrom_, shadowColTo_, width_, ring)};
    return {BlendColor(shadowColTo_, shadowColFrom_, width_, ring),
            BlendColor(highlightColTo_, highlightColFrom_, width_, ring)};
}

void TAbBtnBevel::PaintBevel(TCanvas& canvas, TRect& rect, bool raised, bool fillFace,
                             TColor faceColor) const {
    if (fillFace) {
        canvas.Pen().Width = 1;
        canvas.Pen().Color = faceColor;
        canvas.Brush().Color = faceColor;
        canvas.Brush().Style = bsSolid;
        canvas.Rectangle(rect);
    }
    // The frames stop drawing once the rectangle is used up; the caller still
    // gets the rectangle moved in by the full width.
    TRect ring = rect;
    for (int i = 1; i <= width_; ++i) {
        const RingColors colors = RingColor(i, raised);
        canvas.Frame3D(ring, colors.topLeft, colors.bottomRight, 1);
    }
    rect = ShrinkRect(rect, width_);
}
