// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A gradient fill as a control stores it: two colours, the style and whether
// the owner paints its face with it at all.

#include "controls/base/AbPersistent.h"
#include "controls/paint/GradientStyle.h"
#include "core/TColor.h"

class TAbGradSettings : public TAbPersistent {
public:
    static constexpr TColor DefaultColorFrom = 0xE2E2E2;
    static constexpr TColor DefaultColorTo = 0x8F8F8F;

    std::string ClassName() const override { return "TAbGradSettings"; }
    void DeclareProperties(PropertyList& props) override;
    // Copies through this object's own setters, then reports one more change.
    void Assign(const TPersistent& source) override;

    TColor ColorFrom() const { return colorFrom_; }
    TColor ColorTo() const { return colorTo_; }
    bool Visible() const { return visible_; }
    TGradientStyle Style() const { return style_; }

    void SetColorFrom(TColor value);
    void SetColorTo(TColor value);
    void SetVisible(bool value);
    void SetStyle(TGradientStyle value);

private:
    TColor colorFrom_ = DefaultColorFrom;
    TColor colorTo_ = DefaultColorTo;
    bool visible_ = false;
    TGradientStyle style_ = gsHorizontal1;
};
