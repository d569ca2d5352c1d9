// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The caption label's effect settings: shade colours, depths, directions and
// styles, and the graduated fill. A change raises one of two notices, the
// colour notice or the style notice, so that the label can tell an edit of
// its colours from an edit of its shape. Notices can be held while several
// values change at once; releasing the hold raises both.

#include "controls/label/OvcTypes.h"
#include "core/Persistent.h"
#include "core/TColor.h"

class TOvcCustomSettings : public TPersistent {
public:
    std::string ClassName() const override { return "TOvcCustomSettings"; }
    void DeclareProperties(PropertyList& props) override;
    // Copies all ten values from another TOvcCustomSettings, silently.
    void Assign(const TPersistent& source) override;

    TColor GraduateFromColor() const { return graduateFromColor_; }
    void SetGraduateFromColor(TColor v);
    TOvcGraduateStyle GraduateStyle() const { return graduateStyle_; }
    void SetGraduateStyle(TOvcGraduateStyle v);
    TColor HighlightColor() const { return highlightColor_; }
    void SetHighlightColor(TColor v);
    TOvcDepth HighlightDepth() const { return highlightDepth_; }
    void SetHighlightDepth(TOvcDepth v);
    TOvcShadeDirection HighlightDirection() const { return highlightDirection_; }
    void SetHighlightDirection(TOvcShadeDirection v);
    TOvcShadeStyle HighlightStyle() const { return highlightStyle_; }
    void SetHighlightStyle(TOvcShadeStyle v);
    TColor ShadowColor() const { return shadowColor_; }
    void SetShadowColor(TColor v);
    TOvcDepth ShadowDepth() const { return shadowDepth_; }
    void SetShadowDepth(TOvcDepth v);
    TOvcShadeDirection ShadowDirection() const { return shadowDirection_; }
    void SetShadowDirection(TOvcShadeDirection v);
    TOvcShadeStyle ShadowStyle() const { return shadowStyle_; }
    void SetShadowStyle(TOvcShadeStyle v);

    const TNotifyEvent& OnColourNotice() const { return onColourNotice_; }
    void SetOnColourNotice(TNotifyEvent handler) { onColourNotice_ = std::move(handler); }
    const TNotifyEvent& OnStyleNotice() const { return onStyleNotice_; }
    void SetOnStyleNotice(TNotifyEvent handler) { onStyleNotice_ = std::move(handler); }

    // While held, no notice is raised. Releasing always raises the colour
    // notice and then the style notice, whether anything changed or not.
    // Holds do not nest: one release ends any number of holds.
    void HoldNotices() { held_ = true; }
    void ReleaseNotices();
    bool NoticesHeld() const { return held_; }

private:
    void ColourNotice();
    void StyleNotice();
    // Stores `value` into `field` when it differs and raises `notice`.
    template <class V> void Change(V& field, V value, void (TOvcCustomSettings::*notice)());

    TColor graduateFromColor_ = clGray;
    TOvcGraduateStyle graduateStyle_ = gsNone;
    TColor highlightColor_ = clWhite;
    TOvcDepth highlightDepth_ = 1;
    TOvcShadeDirection highlightDirection_ = sdUpLeft;
    TOvcShadeStyle highlightStyle_ = ssPlain;
    TColor shadowColor_ = clBlack;
    TOvcDepth shadowDepth_ = 1;
    TOvcShadeDirection shadowDirection_ = sdDownRight;
    TOvcShadeStyle shadowStyle_ = ssPlain;

    TNotifyEvent onColourNotice_;
    TNotifyEvent onStyleNotice_;
    bool held_ = false;
};
