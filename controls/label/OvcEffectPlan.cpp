// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/label/OvcEffectPlan.h"

#include "controls/label/OvcCustomSettings.h"
#include "controls/paint/RoundEven.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace {
struct Rgb {
    double r, g, b;
};

Rgb Split(TColor c) {
    return {double(GetRValue(c)), double(GetGValue(c)), double(GetBValue(c))};
}

std::uint8_t Channel(double base, double step, double k) {
    return static_cast<std::uint8_t>(std::clamp(int(base) + RoundEven(k * step), 0, 255));
}

bool IsCentred(unsigned flags) {
    return (flags & ovc_text_flags::kCenter) != 0;
}
bool IsRight(unsigned flags) {
    return !IsCentred(flags) && (flags & ovc_text_flags::kRight) != 0;
}
} // namespace

TOvcOffsets OvcOffsets(const TOvcCustomSettings& s, unsigned flags) {
    const TOvcStep h = ShadeStep(s.HighlightDirection());
    const TOvcStep d = ShadeStep(s.ShadowDirection());
    const int hx = h.dx * s.HighlightDepth(), hy = h.dy * s.HighlightDepth();
    const int sx = d.dx * s.ShadowDepth(), sy = d.dy * s.ShadowDepth();
    TOvcOffsets o;
    o.min = std::min({0, hx, sx, hy, sy});
    o.max = std::max({0, hx, sx, hy, sy});
    if (IsCentred(flags))
        o.shift = (o.max - o.min) / 2;
    else if (IsRight(flags))
        o.shift = o.max - o.min;
    return o;
}

std::vector<TOvcTextLayer> OvcShadeLayers(TColor shadeColor, TColor fontColor, TOvcDepth depth,
                                          TOvcShadeStyle style, TOvcShadeDirection direction,
                                          TOvcStep base) {
    const int last = (style != ssPlain && depth > 1) ? 1 : depth;
    const Rgb from = Split(shadeColor);
    Rgb step{0, 0, 0};
    if (style == ssGraduated && depth > 1) {
        const Rgb to = Split(fontColor);
        const double n = depth - 1;
        step = {(to.r - from.r) / n, (to.g - from.g) / n, (to.b - from.b) / n};
    }
    const TOvcStep unit = ShadeStep(direction);
    std::vector<TOvcTextLayer> layers;
    for (int i = depth; i >= last; --i) {
        const double k = depth - i;
        layers.push_back({base.dx + unit.dx * i, base.dy + unit.dy * i,
                          RGBColor(Channel(from.r, step.r, k), Channel(from.g, step.g, k),
                                   Channel(from.b, step.b, k))});
    }
    return layers;
}

std::vector<TOvcBand> OvcGraduateBands(TOvcGraduateStyle style, TColor fromColor, TColor toColor,
                                       const TOvcOffsets& offsets, unsigned flags, int width,
                                       int height, int textWidth) {
    std::vector<TOvcBand> bands;
    if (style == gsNone)
        return bands;
    int x0 = -offsets.min;
    if (IsCentred(flags))
        x0 = (width - textWidth) / 2 - offsets.min - offsets.shift;
    else if (IsRight(flags))
        x0 = width - offsets.max - textWidth;
    const int y0 = -offsets.min;
    const double extent = style == gsVertical ? height - 1 : textWidth - 1;
    const double size = extent / kOvcBandSteps;
    const Rgb from = Split(fromColor);
    const Rgb to = Split(toColor);
    const Rgb step{(to.r - from.r) / kOvcBandSteps, (to.g - from.g) / kOvcBandSteps,
                   (to.b - from.b) / kOvcBandSteps};
    for (int j = 0; j <= kOvcBandSteps; ++j) {
        TOvcBand band;
        band.color = RGBColor(Channel(from.r, step.r, j), Channel(from.g, step.g, j),
                              Channel(from.b, step.b, j));
        const int a = RoundEven(j * size), b = RoundEven((j + 1) * size);
        if (style == gsVertical) {
            band.left = 0;
            band.right = width;
            band.top = y0 + a;
            band.bottom = y0 + b;
        } else {
            band.left = x0 + a;
            band.right = x0 + b;
            band.top = 0;
            band.bottom = height;
        }
        bands.push_back(band);
    }
    return bands;
}

TOvcEffectPlan OvcBuildEffectPlan(const TOvcEffectInput& in) {
    const TOvcCustomSettings& s = *in.settings;
    TOvcEffectPlan plan;
    plan.offsets = OvcOffsets(s, in.flags);
    const TOvcStep base{-plan.offsets.min - plan.offsets.shift, -plan.offsets.min};
    plan.layers = OvcShadeLayers(in.shadowColor, in.fontColor, s.ShadowDepth(), s.ShadowStyle(),
                                 s.ShadowDirection(), base);
    const auto highlight = OvcShadeLayers(in.highlightColor, in.fontColor, s.HighlightDepth(),
                                          s.HighlightStyle(), s.HighlightDirection(), base);
    plan.layers.insert(plan.layers.end(), highlight.begin(), highlight.end());
    plan.graduated = s.GraduateStyle() != gsNone;
    plan.text = {base.dx, base.dy, plan.graduated ? kOvcKeyColor : in.fontColor};
    plan.bands = OvcGraduateBands(s.GraduateStyle(), in.graduateFromColor, in.fontColor,
                                  plan.offsets, in.flags, in.width, in.height, in.textWidth);
    return plan;
}
