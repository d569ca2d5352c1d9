// SPDX-License-Identifier: GPL-3.0-or-later
// The text helpers, checked by comparing renderings with each other (never
// against fixed glyph pixels, which depend on the font rasteriser).

#include "controls/paint/TextPaint.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "tests/platform/QtTestApp.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

constexpr TColor Ink = 0x202020;

void UseFont(TCanvas& c) {
    c.Font().SetName("Verdana");
    c.Font().SetHeight(20);
    c.Font().SetColor(Ink);
    c.Brush().Style = bsClear;
}

QImage Render(const std::function<void(TCanvas&)>& draw) {
    TBitmap bmp(200, 150);
    UseFont(bmp.Canvas());
    draw(bmp.Canvas());
    return bmp.Image();
}

TEST(TextSize, HalvesAreTruncated) {
    TBitmap bmp(10, 10);
    UseFont(bmp.Canvas());
    const TTextSize size = TextSize(bmp.Canvas(), "Пуск");
    EXPECT_GT(size.width, 0);
    EXPECT_GT(size.height, 0);
    EXPECT_EQ(size.half, (TPoint{size.width / 2, size.height / 2}));
}

TEST(MultiLineSize, WidestSegmentWhateverItsPlace) {
    TBitmap bmp(10, 10);
    TCanvas& c = bmp.Canvas();
    UseFont(c);
    const int wide = c.TextWidth("abcdef");
    ASSERT_GT(wide, c.TextWidth("ab"));
    for (const char* text : {"ab|abcdef", "abcdef|ab", "abcdef", "ab|abcdef|"}) {
        const TMultiLineSize size = MultiLineSize(c, text, '|');
        EXPECT_EQ(size.maxWidth, wide) << text;
        EXPECT_EQ(size.lineHeight, c.TextHeight(text)) << text;
    }
    EXPECT_EQ(MultiLineSize(c, "", '|').maxWidth, 0);
}

TEST(TextOutAnchored, PlacesTheTextByItsAnchor) {
    TBitmap probe(10, 10);
    UseFont(probe.Canvas());
    const TSize e = probe.Canvas().TextExtent("Стоп");
    // Centre anchor: the top-left corner half the size up and left.
    EXPECT_EQ(Render([](TCanvas& c) { TextOutAnchored(c, 100, 70, "Стоп", anCenter); }),
              Render([&](TCanvas& c) { c.TextOut(100 - e.cx / 2, 70 - e.cy / 2, "Стоп"); }));
    EXPECT_EQ(Render([](TCanvas& c) { TextOutAnchored(c, 150, 90, "Стоп", anBottomRight); }),
              Render([&](TCanvas& c) { c.TextOut(150 - e.cx, 90 - e.cy, "Стоп"); }));
    // An anchor outside 0 to 8 puts the text at the origin.
    EXPECT_EQ(Render([](TCanvas& c) { TextOutAnchored(c, 150, 90, "Стоп", 9); }),
              Render([](TCanvas& c) { c.TextOut(0, 0, "Стоп"); }));
}

TEST(DrawMultiLineText, CentresTheBlockOnTheAnchor) {
    TBitmap probe(10, 10);
    UseFont(probe.Canvas());
    const int step = probe.Canvas().TextHeight("X") + 2;
    const QImage drawn = Render([](TCanvas& c) {
        DrawMultiLineText(c, 100, 75, 2, Ink, clBlack, clWhite, "ab|cdef|g", anCenter, false);
    });
    // Three lines: the first one step above the anchor, the middle one on it.
    const QImage expected = Render([&](TCanvas& c) {
        TextOutAnchored(c, 100, 75 - step, "ab", anCenter);
        TextOutAnchored(c, 100, 75, "cdef", anCenter);
        TextOutAnchored(c, 100, 75 + step, "g", anCenter);
    });
    EXPECT_EQ(drawn, expected);
}

TEST(DrawMultiLineText, ThreeDLooksDrawShadowsFirstAndLeaveTheTextColour) {
    TBitmap bmp(200, 150);
    TCanvas& c = bmp.Canvas();
    UseFont(c);
    DrawMultiLineText(c, 10, 140, 0, clRed, clBlue, clLime, "Выход|", anBottomLeft, true);
    EXPECT_EQ(c.Font().Color(), clRed);
    const QImage expected = Render([](TCanvas& e) {
        e.Font().SetColor(clLime);
        TextOutAnchored(e, 11, 141, "Выход", anBottomLeft);
        e.Font().SetColor(clBlue);
        TextOutAnchored(e, 9, 139, "Выход", anBottomLeft);
        e.Font().SetColor(clRed);
        TextOutAnchored(e, 10, 140, "Выход", anBottomLeft);
    });
    // One separator: the block is one step high, so the (only drawn) line
    // sits one step above the bottom anchor.
    const int step = c.TextHeight("X");
    const QImage shifted = Render([&](TCanvas& e) {
        e.Font().SetColor(clLime);
        TextOutAnchored(e, 11, 141 - step, "Выход", anBottomLeft);
        e.Font().SetColor(clBlue);
        TextOutAnchored(e, 9, 139 - step, "Выход", anBottomLeft);
        e.Font().SetColor(clRed);
        TextOutAnchored(e, 10, 140 - step, "Выход", anBottomLeft);
    });
    EXPECT_NE(bmp.Image(), expected);
    EXPECT_EQ(bmp.Image(), shifted);
}

} // namespace
