// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Paints a caption with its shade effects: every shade copy, the text and
// the graduated fill are drawn on an off-screen picture that reaches the
// target surface in one copy, so deep shades do not flicker.

#include "controls/label/OvcEffectPlan.h"
#include "core/TColor.h"
#include "platform/Geometry.h"

#include <string>

class TBitmap;
class TCanvas;
class TFont;
class TOvcCustomSettings;

// What is drawn, apart from the effect settings.
struct TOvcCaption {
    std::string text;
    const TFont* font = nullptr;
    unsigned flags = 0;       // text formatting flags (ovc_text_flags)
    bool transparent = true;  // false: the background is filled with `color`
    TColor color = clBtnFace; // the label's background colour
};

// Narrows the caption's font where the caption (each word of a wrapped
// one) and its shade copies would not fit the label's width
// (platform/Fonts.h).
void OvcFitCaptionFont(TFont& font, const TOvcCaption& caption, const TOvcCustomSettings& settings,
                       int width);

// Draws `caption` with the effects of `settings` onto `target` over `r`.
// `background` is what lies under the label (r's size, its top-left at r's
// top-left); it is copied, not changed.
void OvcDrawEffects(TCanvas& target, const TRect& r, const TBitmap& background,
                    const TOvcCaption& caption, const TOvcCustomSettings& settings);

// The plan the painter follows for these inputs (colours resolved).
TOvcEffectPlan OvcPlanFor(const TOvcCaption& caption, const TOvcCustomSettings& settings, int width,
                          int height, int textWidth);
