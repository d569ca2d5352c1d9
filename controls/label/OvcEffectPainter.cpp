// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/label/OvcEffectPainter.h"

#include "controls/label/OvcCustomSettings.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Font.h"
#include "platform/Fonts.h"
#include "platform/SystemColors.h"

#include <QImage>

#include <sstream>

namespace {
void DrawLayer(TCanvas& canvas, const std::string& text, const TRect& r, unsigned flags,
               const TOvcTextLayer& layer) {
    canvas.Font().SetColor(layer.color);
    canvas.DrawText(text, r.Translated(layer.dx, layer.dy), flags);
}

// Smoothed text edges would be blends of the key colour that the fill does
// not recognise, so the key text must be drawn without smoothing. The
// surface always smooths text; its coverage, drawn white on black, is cut at
// one half instead: a pixel at least half covered is text, in the key colour.
TBitmap KeyPicture(const TBitmap& picture, const TOvcCaption& caption, const TRect& r,
                   const TOvcTextLayer& text) {
    TBitmap coverage(r.Width(), r.Height());
    TCanvas& c = coverage.Canvas();
    c.Brush() = {clBlack, bsSolid};
    c.FillRect(r);
    c.Font().Assign(*caption.font);
    c.Brush().Style = bsClear;
    DrawLayer(c, caption.text, r, caption.flags, {text.dx, text.dy, clWhite});
    c.EndPaint();

    constexpr int kHalfCovered = 128;
    const QImage& cover = coverage.Image();
    QImage keyed = picture.Image().convertToFormat(QImage::Format_RGB32);
    const QRgb key = qRgb(GetRValue(text.color), GetGValue(text.color), GetBValue(text.color));
    for (int y = 0; y < keyed.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(cover.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(keyed.scanLine(y));
        for (int x = 0; x < keyed.width(); ++x)
            if (qRed(in[x]) >= kHalfCovered)
                out[x] = key;
    }
    return TBitmap(keyed);
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

void OvcFitCaptionFont(TFont& font, const TOvcCaption& caption, const TOvcCustomSettings& settings,
                       int width) {
    // The shade copies spread the text by the offsets' span; one blank column
    // is kept at the edge so that the last letter reads as the end.
    const TOvcOffsets offsets = OvcOffsets(settings, caption.flags);
    const int room = width - (offsets.max - offsets.min) - 1;
    if ((caption.flags & ovc_text_flags::kWordBreak) == 0) {
        FitFontToWidth(font, caption.text, room);
        return;
    }
    // Wrapping breaks between words only: each word must fit a line.
    std::istringstream words(caption.text);
    for (std::string word; words >> word;)
        FitFontToWidth(font, word, room);
}

void OvcDrawEffects(TCanvas& target, const TRect& r, const TBitmap& background,
                    const TOvcCaption& stored, const TOvcCustomSettings& settings) {
    const int width = r.Width(), height = r.Height();
    if (width <= 0 || height <= 0)
        return;
    TFont font;
    font.Assign(*stored.font);
    OvcFitCaptionFont(font, stored, settings, width);
    TOvcCaption caption = stored;
    caption.font = &font;
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
        const TBitmap key = KeyPicture(picture, caption, local, plan.text);
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
