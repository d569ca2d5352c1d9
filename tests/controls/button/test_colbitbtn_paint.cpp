// SPDX-License-Identifier: GPL-3.0-or-later
// The coloured bit button's look: which parts show the on state, where the
// glyph and text go, the glyph cell, and the composed picture (bevel
// direction, face, text colours, flash phases, flat and transparent faces).

#include "ButtonTestKit.h"
#include "controls/AbCBitBt.h"
#include "controls/paint/Gradient.h"
#include "controls/paint/TextLayout.h"
#include "platform/SystemColors.h"
#include "tests/platform/QtTestApp.h"

#include <QEnterEvent>

#include <gtest/gtest.h>

namespace {

TEST(BtnLayoutTest, LookFlagsFollowCheckedOptionsOrTheFlashPhase) {
    struct Case {
        TFlashOptions fo;
        TCheckedOptions co;
        bool checked, flashing, phase;
        TBtnLookFlags want;
    };
    const TFlashOptions allF = AllFlashOptions;
    const TCheckedOptions allC = AllCheckedOptions;
    const Case cases[] = {
        {allF, allC, false, false, false, {false, false, false, false}},
        {allF, allC, true, false, false, {true, true, true, true}},
        {allF, allC, true, true, false, {false, false, false, false}},
        {allF, allC, true, true, true, {true, true, true, true}},
        // Flashing only matters while checked.
        {allF, allC, false, true, true, {false, false, false, false}},
        // A part without its flash option shows the checked state steadily.
        {OptionBit(foText), allC, true, true, false, {true, false, true, true}},
        {0, OptionBit(coTextCol), true, false, false, {false, false, true, false}},
    };
    for (const Case& c : cases) {
        const TBtnLookFlags f = LookFlags(c.fo, c.co, c.checked, c.flashing, c.phase);
        EXPECT_EQ(f.glyph, c.want.glyph);
        EXPECT_EQ(f.text, c.want.text);
        EXPECT_EQ(f.textColor, c.want.textColor);
        EXPECT_EQ(f.faceColor, c.want.faceColor);
    }
}

TEST(BtnLayoutTest, BlockPlacementPerGlyphPosition) {
    const TRect r{2, 2, 138, 45}; // 140 x 47 less a 2-pixel bevel
    struct Case {
        TPos pos;
        TPoint glyph, text;
        int anchor;
    };
    // Cell 16 x 16, text 40 x 20, spacing 4: side by side the block is
    // 60 x 20, stacked 40 x 40. Centre (70, 23).
    const Case cases[] = {
        {pLeft, {40, 15}, {60, 23}, anMiddleLeft},
        {pRight, {84, 15}, {80, 23}, anMiddleRight},
        {pTop, {62, 3}, {70, 23}, anTopCenter},
        {pBottom, {62, 27}, {70, 23}, anBottomCenter},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.pos));
        const TBtnBlockPlacement p =
            PlaceBlock(r, 16, 16, 40, 20, 4, phCenter, pvCenter, c.pos, 0, 0);
        EXPECT_EQ(p.glyph, c.glyph);
        EXPECT_EQ(p.text, c.text);
        EXPECT_EQ(p.anchor, c.anchor);
    }
    // No glyph: no spacing either, and the shift moves both points.
    const TBtnBlockPlacement p = PlaceBlock(r, 0, 0, 40, 20, 4, phLeft, pvTop, pLeft, 1, 1);
    EXPECT_EQ(p.text, (TPoint{3, 13}));
    // Edges: phRight and pvBottom measure from the far sides.
    const TBtnBlockPlacement q = PlaceBlock(r, 0, 0, 40, 20, 4, phRight, pvBottom, pLeft, 0, 0);
    EXPECT_EQ(q.text, (TPoint{138 - 20 - 20, 45 - 10}));
}

TEST(BtnLayoutTest, GlyphCells) {
    EXPECT_EQ(GlyphCellIndex(1, false, true), 0);
    EXPECT_EQ(GlyphCellIndex(2, true, true), 0); // no on cell in a strip of two
    EXPECT_EQ(GlyphCellIndex(2, false, false), 1);
    EXPECT_EQ(GlyphCellIndex(3, true, true), 2);
    EXPECT_EQ(GlyphCellIndex(3, false, true), 1);
    EXPECT_EQ(GlyphCellIndex(4, true, false), 0);
}

constexpr TColor kFace = 0x404040;

// A button with the front panel's look on a plain form.
class ColBitBtnPaintTest : public ::testing::Test {
protected:
    void SetUp() override {
        QPalette pal = form.palette();
        pal.setColor(QPalette::Window, QColor(0, 0, 200));
        form.setPalette(pal);
        form.setAutoFillBackground(true);
        b = new TAbColBitBtn(&form);
        b->SetBounds(20, 20, 140, 47);
        b->GradBtnFace()->SetColorFrom(kFace);
        b->GradBtnFace()->SetColorTo(kFace);
        b->GradBtnFace()->SetStyle(gsTopRight);
        TAbBtnBevel& bevel = *b->ButtonBevel();
        bevel.SetWidth(2);
        bevel.SetShadowColFrom(0x191919);
        bevel.SetShadowColTo(0x282828);
        bevel.SetHighlightColFrom(0x626262);
        bevel.SetHighlightColTo(0x555555);
        b->Font()->SetName("Verdana");
        b->Font()->SetHeight(29);
        b->Font()->SetStyle(0);
        b->SetText3D(false);
        b->SetTextColOn(clLime);
        b->SetTextColOff(clGreen);
        b->SetTextColDisabled(clGray);
        b->Loaded();
    }
    void ShowAndPaint() {
        form.Show();
        form.repaint();
        QApplication::processEvents();
    }
    TColor At(int x, int y) const {
        return FromQColor(QColor::fromRgb(b->ComposedImage().Image().pixel(x, y)));
    }
    int Count(TColor c) const {
        const QImage& img = b->ComposedImage().Image();
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += FromQColor(QColor::fromRgb(img.pixel(x, y))) == ColorToRGB(c);
        return n;
    }
    TTestForm form;
    TAbColBitBtn* b = nullptr;
};

TEST_F(ColBitBtnPaintTest, NothingIsComposedBeforeTheFirstPaint) {
    b->SetTextOn("Старт");
    b->SetChecked(true);
    EXPECT_TRUE(b->ComposedImage().Empty());
    ShowAndPaint();
    EXPECT_FALSE(b->ComposedImage().Empty());
    EXPECT_EQ(b->BackgroundCache().Width(), 140);
}

TEST_F(ColBitBtnPaintTest, BevelIsRaisedUntilPressedAndTheFaceIsTheGradient) {
    ShowAndPaint();
    EXPECT_EQ(At(0, 0), BlendColor(0x626262, 0x555555, 2, 1));
    EXPECT_EQ(At(139, 46), BlendColor(0x191919, 0x282828, 2, 1));
    EXPECT_EQ(At(70, 23), kFace);
    window_input::Press(*b, {10, 10});
    EXPECT_EQ(At(0, 0), BlendColor(0x282828, 0x191919, 2, 1));
    EXPECT_EQ(At(139, 46), BlendColor(0x555555, 0x626262, 2, 1));
    window_input::Release(*b, {10, 10});
    EXPECT_EQ(At(0, 0), BlendColor(0x626262, 0x555555, 2, 1));
}

TEST_F(ColBitBtnPaintTest, TextColourFollowsStateAndEnabled) {
    b->SetTextOn("ШШ");
    ShowAndPaint();
    EXPECT_GT(Count(clGreen), 0);
    EXPECT_EQ(Count(clLime), 0);
    b->SetChecked(true);
    EXPECT_GT(Count(clLime), 0);
    EXPECT_EQ(Count(clGreen), 0);
    b->SetChecked(false);
    b->SetEnabled(false);
    EXPECT_GT(Count(clGray), 0);
    EXPECT_EQ(Count(clGreen), 0);
    // No text at all: only face and bevel.
    b->SetTextOn("");
    EXPECT_EQ(Count(clGray), 0);
}

TEST_F(ColBitBtnPaintTest, FlashPhasesAlternateTheTextColour) {
    b->SetTextOn("ШШ");
    ShowAndPaint();
    b->SetMode(mSwitch);
    b->SetFlashing(true);
    b->SetChecked(true);
    RegistryFlashTimer()->SetEnabled(false);
    EXPECT_GT(Count(clGreen), 0); // phase 0: off colours
    b->FlashNotification({CM_FLASH, 32, 1});
    EXPECT_TRUE(b->FlashPhase());
    EXPECT_GT(Count(clLime), 0);
    b->FlashNotification({CM_FLASH, 64, 0});
    EXPECT_EQ(Count(clLime), 0);
    // The bevel does not flash: a checked button stays sunken.
    EXPECT_EQ(At(0, 0), BlendColor(0x282828, 0x191919, 2, 1));
    // Flashing off: the look follows the checked options again at once.
    b->SetFlashing(false);
    EXPECT_GT(Count(clLime), 0);
}

TEST_F(ColBitBtnPaintTest, FlatButtonShowsItsBevelOnlyWithThePointerInside) {
    b->SetFlat(true);
    ShowAndPaint();
    // Without the bevel the ring shows the form; the gradient keeps to the face.
    const TColor formColour = RGBColor(0, 0, 200);
    EXPECT_EQ(At(0, 0), formColour);

    QWidget grabber(&form);
    grabber.setGeometry(300, 100, 20, 20);
    grabber.show();
    grabber.grabMouse();
    QEnterEvent enter(QPointF(5, 5), QPointF(25, 25), QPointF(25, 25));
    QApplication::sendEvent(b, &enter);
    EXPECT_FALSE(b->MouseInside());
    grabber.releaseMouse();

    QApplication::sendEvent(b, &enter);
    EXPECT_TRUE(b->MouseInside());
    EXPECT_EQ(At(0, 0), BlendColor(0x626262, 0x555555, 2, 1));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(b, &leave);
    EXPECT_EQ(At(0, 0), formColour);
}

TEST_F(ColBitBtnPaintTest, TransparentUnbevelledButtonShowsTheParent) {
    b->SetTransparent(true);
    b->SetBeveled(false);
    ShowAndPaint();
    EXPECT_EQ(At(0, 0), RGBColor(0, 0, 200));
    EXPECT_EQ(At(70, 23), RGBColor(0, 0, 200));
    // A solid face without gradient takes ColorOn / ColorOff.
    b->SetTransparent(false);
    b->GradBtnFace()->SetVisible(false);
    b->SetColorOff(clRed);
    b->SetColorOn(clYellow);
    ShowAndPaint();
    EXPECT_EQ(At(70, 23), clRed);
    b->SetMode(mSwitch);
    b->SetChecked(true);
    EXPECT_EQ(At(70, 23), clYellow);
}

TEST_F(ColBitBtnPaintTest, GlyphCellsAreDrawnWithTheirCornerColourLeftOut) {
    // Three 8 x 8 cells: red, blue, yellow, each with a white bottom-left
    // corner pixel that is the transparent colour.
    QImage strip(24, 8, QImage::Format_RGB32);
    const QColor cells[] = {Qt::red, Qt::blue, Qt::yellow};
    for (int i = 0; i < 3; ++i)
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                strip.setPixelColor(8 * i + x, y, cells[i]);
    strip.setPixelColor(0, 7, Qt::white);
    b->SetGlyph(TBitmap(strip));
    b->SetNumGlyph(3);
    ShowAndPaint();
    EXPECT_EQ(Count(clWhite), 0);
    EXPECT_EQ(Count(clRed), 63); // less the transparent corner
    b->SetMode(mSwitch);
    b->SetChecked(true);
    EXPECT_EQ(Count(clYellow), 64);
    b->SetEnabled(false);
    EXPECT_EQ(Count(clBlue), 64);
    // A glyph of no height resets the cell count.
    b->SetGlyph(TBitmap());
    EXPECT_EQ(b->NumGlyph(), 1);
    b->SetNumGlyph(0);
    EXPECT_EQ(b->NumGlyph(), 1);
}

} // namespace
