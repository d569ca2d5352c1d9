// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The arithmetic of the caption label's effects, apart from any drawing:
// where each shade copy of the text goes and in which colour, where the text
// itself goes, and the bands of the graduated fill. Colours here are plain
// red-green-blue values (system colours resolved by the caller).

#include "controls/label/OvcTypes.h"
#include "core/TColor.h"

#include <vector>

class TOvcCustomSettings;

// Text formatting flags of the label's text drawing, as the surface takes them.
namespace ovc_text_flags {
constexpr unsigned kCenter = 0x1;
constexpr unsigned kRight = 0x2;
constexpr unsigned kWordBreak = 0x10;
constexpr unsigned kExpandTabs = 0x40;
constexpr unsigned kNoPrefix = 0x800;
} // namespace ovc_text_flags

// The range the shade offsets span and the shift that keeps aligned text in
// place: all copies are moved by -Min so that none falls off the top-left
// corner, and right or centred text is pulled back by Shift.
struct TOvcOffsets {
    int min = 0;
    int max = 0;
    int shift = 0;
    friend bool operator==(const TOvcOffsets&, const TOvcOffsets&) = default;
};

// One copy of the caption, drawn into the label's rectangle moved by (dx, dy).
struct TOvcTextLayer {
    int dx = 0;
    int dy = 0;
    TColor color = clBlack;
    friend bool operator==(const TOvcTextLayer&, const TOvcTextLayer&) = default;
};

// A band of the graduated fill in the label's own coordinates; right and
// bottom are exclusive. A band may be empty (a caption of no width).
struct TOvcBand {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    TColor color = clBlack;
    bool IsEmpty() const { return right <= left || bottom <= top; }
    friend bool operator==(const TOvcBand&, const TOvcBand&) = default;
};

// Everything the painter needs to know, in drawing order.
struct TOvcEffectInput {
    const TOvcCustomSettings* settings = nullptr;
    TColor fontColor = clGray;         // resolved
    TColor shadowColor = clBlack;      // resolved
    TColor highlightColor = clWhite;   // resolved
    TColor graduateFromColor = clGray; // resolved
    unsigned flags = 0;
    int width = 0; // of the label's rectangle
    int height = 0;
    int textWidth = 0; // the whole caption on one line; used by the fill only
};

struct TOvcEffectPlan {
    TOvcOffsets offsets;
    std::vector<TOvcTextLayer> layers; // shadow copies, then highlight copies
    TOvcTextLayer text;                // the caption itself, in the font colour
    bool graduated = false;            // text drawn in the key colour and filled
    std::vector<TOvcBand> bands;       // 16 bands when graduated
};

// The colour the text is drawn in on the key picture; assumed absent from
// whatever lies behind the label.
constexpr TColor kOvcKeyColor = 0xFE09F1;
// The graduated fill runs in this many steps, that is kOvcBandSteps + 1 bands.
constexpr int kOvcBandSteps = 15;

TOvcOffsets OvcOffsets(const TOvcCustomSettings& s, unsigned flags);

// The copies of one shade: from the farthest (depth) inward. `base` is the
// text's own offset.
std::vector<TOvcTextLayer> OvcShadeLayers(TColor shadeColor, TColor fontColor, TOvcDepth depth,
                                          TOvcShadeStyle style, TOvcShadeDirection direction,
                                          TOvcStep base);

std::vector<TOvcBand> OvcGraduateBands(TOvcGraduateStyle style, TColor fromColor, TColor toColor,
                                       const TOvcOffsets& offsets, unsigned flags, int width,
                                       int height, int textWidth);

TOvcEffectPlan OvcBuildEffectPlan(const TOvcEffectInput& in);
