#include "controls/OvcEffectPainter.h"

#include "controls/OvcCustomSettings.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Font.h"
#include "platform/SystemColors.h"

#include <QPainter>

namespace {
void DrawLayer(TCanvas& canvas, const std::string& text, const TRect& r, unsigned flags,
               const TOvcTextLayer& layer) {
    canvas.Font().SetColor(layer.color);
    canvas.DrawText(text, r.Translated(layer.dx, layer.dy), flags);
}
} // namespace

TOvcEffectPlan OvcPlanFor(const TOvcCaption& caption, const TOvcCustomSettings& settings, int width,
                          int height, int textWidth) {
    TOvcEffectInput in;
    in.settings = &settings;
    in.fontColor = ColorToRGB(caption.font->Color());
    in.shadowColor = ColorToRGB(settings.ShadowColor());
    in.highlightColor = ColorToRGB(settings.HighlightColor());
    in.graduateFromColor = ColorToRGB(settings.GraduateFromColor());
    in.flags = caption.flags;
    in.width = width;
    in.height = height;
    in.textWidth = textWidth;
    return OvcBuildEffectPlan(in);
}

void OvcDrawEffects(TCanvas& target, const TRect& r, const TBitmap& background,
                    const TOvcCaption& caption, const TOvcCustomSettings& settings) {
    const int width = r.Width(), height = r.Height();
    if (width <= 0 || height <= 0)
        return;
    // Everything below is drawn in the picture's own coordinates.
    const TRect local{0, 0, width, height};

    TBitmap picture(width, height);
    TCanvas& p = picture.Canvas();
    p.CopyRect(local, background, local);
    if (!caption.transparent) {
        p.Brush() = {caption.color, bsSolid};
        p.FillRect(local);
    }
    p.Font().Assign(*caption.font);
    p.Brush().Style = bsClear;

    const bool graduated = settings.GraduateStyle() != gsNone;
    const int textWidth = graduated ? p.TextWidth(caption.text) : 0;
    const TOvcEffectPlan plan = OvcPlanFor(caption, settings, width, height, textWidth);

    for (const TOvcTextLayer& layer : plan.layers)
        DrawLayer(p, caption.text, local, caption.flags, layer);

    if (plan.graduated) {
        // The text goes on a copy of the picture in the key colour; the fill
        // then carries the key pixels of each band over in the band's colour.
        // Its edges must be exactly the key colour, so it is not smoothed.
        TBitmap key(picture);
        TCanvas& k = key.Canvas();
        k.Font().Assign(*caption.font);
        k.Brush().Style = bsClear;
        k.Painter().setRenderHint(QPainter::TextAntialiasing, false);
        DrawLayer(k, caption.text, local, caption.flags, plan.text);
        key.Canvas().EndPaint();
        for (const TOvcBand& band : plan.bands) {
            if (band.IsEmpty())
                continue;
            const TRect rect{band.left, band.top, band.right, band.bottom};
            p.Brush() = {band.color, bsSolid};
            p.BrushCopy(rect, key, rect, kOvcKeyColor);
        }
    } else {
        DrawLayer(p, caption.text, local, caption.flags, plan.text);
    }
    p.EndPaint();
    target.CopyRect(r, picture, local);
}
