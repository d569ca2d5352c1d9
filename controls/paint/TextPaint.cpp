// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/paint/TextPaint.h"

#include "controls/base/RectHelpers.h"
#include "platform/Canvas.h"

TTextSize TextSize(TCanvas& canvas, const std::string& text) {
    const TSize extent = canvas.TextExtent(text);
    return {extent.cx, extent.cy, {extent.cx / 2, extent.cy / 2}};
}

TMultiLineSize MultiLineSize(TCanvas& canvas, const std::string& text, char separator) {
    TMultiLineSize size;
    size.lineHeight = canvas.TextHeight(text);
    std::string rest = text;
    std::string segment;
    do {
        NextSegment(rest, separator, segment);
        size.maxWidth = MaxOf(size.maxWidth, canvas.TextWidth(segment));
    } while (!rest.empty());
    return size;
}

void TextOutAnchored(TCanvas& canvas, int x, int y, const std::string& text, int anchor) {
    const TTextSize size = TextSize(canvas, text);
    const TTextPlacement at = AnchoredTopLeft(anchor, x, y, size.width, size.height);
    canvas.TextOut(at.x, at.y, text);
}

void DrawMultiLineText(TCanvas& canvas, int x, int y, int lineGap, TColor textColor,
                       TColor upperLeftColor, TColor lowerRightColor, const std::string& text,
                       int anchor, bool text3D) {
    // Lines are spaced by the height of a capital, whatever the line holds.
    const int step = canvas.TextHeight("X") + lineGap;
    int lineY = FirstLineY(anchor, y, step, CountChar(text, LineSeparator));
    std::string rest = text;
    std::string segment;
    while (!rest.empty()) {
        NextSegment(rest, LineSeparator, segment);
        if (text3D) {
            canvas.Font().SetColor(lowerRightColor);
            TextOutAnchored(canvas, x + 1, lineY + 1, segment, anchor);
            canvas.Font().SetColor(upperLeftColor);
            TextOutAnchored(canvas, x - 1, lineY - 1, segment, anchor);
        }
        canvas.Font().SetColor(textColor);
        TextOutAnchored(canvas, x, lineY, segment, anchor);
        lineY += step;
    }
    canvas.Font().SetColor(textColor);
}
