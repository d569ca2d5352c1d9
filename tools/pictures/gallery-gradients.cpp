// SPDX-License-Identifier: GPL-3.0-or-later
// Renders every gradient style and both bevels into one PNG contact sheet
// for looking over by eye:
//   gallery-gradients [output.png]   (default docs/gradients.png)

#include "controls/paint/AbBtnBevel.h"
#include "controls/paint/AbSBevel.h"
#include "controls/paint/Gradient.h"
#include "controls/paint/TextPaint.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"

#include <QApplication>

#include <cstdio>
#include <string>

namespace {

constexpr int CellWidth = 150;
constexpr int CellHeight = 100;
constexpr int LabelHeight = 18;
constexpr int Margin = 10;
constexpr int Columns = 7;
constexpr TColor Background = 0xF4F4F4;
constexpr TColor LabelColor = 0x202020;

// The colour pairs each style is shown with: the settings' default greys,
// a coloured pair (0x00BBGGRR), and the dark ring of the panel's dials.
struct ColourPair {
    TColor from;
    TColor to;
};
constexpr ColourPair Pairs[] = {{0xE2E2E2, 0x8F8F8F}, {0x30D0FF, 0x802000}, {0x626262, 0x282828}};
constexpr int PairCount = sizeof Pairs / sizeof Pairs[0];

void Label(TCanvas& c, int x, int y, const std::string& text) {
    c.Brush().Style = bsClear;
    c.Font().SetColor(LabelColor);
    TextOutAnchored(c, x, y, text, anTopLeft);
}

TPoint CellOrigin(int index) {
    return {Margin + (index % Columns) * (CellWidth + Margin),
            Margin + (index / Columns) * (CellHeight + LabelHeight + Margin)};
}

void DrawGradients(TCanvas& c) {
    int index = 0;
    for (int pair = 0; pair < PairCount; ++pair) {
        for (int style = 0; style < GradientStyleCount; ++style, ++index) {
            const TPoint o = CellOrigin(index);
            Label(c, o.X, o.Y, GradientStyleNames()[style]);
            PaintGradient(c, Bounds(o.X, o.Y + LabelHeight, CellWidth, CellHeight),
                          Pairs[pair].from, Pairs[pair].to, TGradientStyle(style));
        }
    }
}

// Bevels below the gradients: the panel button's bevel raised and pressed,
// and the panel dial's round bevel in both styles, with and without a face
// gradient and outline circles.
void DrawBevels(TCanvas& c, int top) {
    TAbBtnBevel button;
    button.SetShadowColFrom(0x191919);
    button.SetShadowColTo(0x282828);
    button.SetHighlightColFrom(0x626262);
    button.SetHighlightColTo(0x555555);
    TAbBtnBevel plain; // class defaults
    plain.SetWidth(4);

    int x = Margin;
    for (const bool raised : {true, false}) {
        for (TAbBtnBevel* bevel : {&button, &plain}) {
            Label(c, x, top,
                  std::string(raised ? "raised" : "pressed") + " w" +
                      std::to_string(bevel->Width()));
            TRect r = Bounds(x, top + LabelHeight, CellWidth, CellHeight / 2);
            bevel->PaintBevel(c, r, raised, true, 0x404040);
            x += CellWidth + Margin;
        }
    }

    struct RoundCase {
        const char* name;
        TBevelStyle style;
        TBevelLine line;
        bool gradient;
    };
    const RoundCase cases[] = {{"dial raised", bsRaised, blNone, false},
                               {"dial lowered", bsLowered, blNone, false},
                               {"outer line", bsRaised, blOuter, false},
                               {"both, grad", bsRaised, blBoth, true},
                               {"lowered, grad", bsLowered, blInner, true}};
    x = Margin;
    const int roundTop = top + LabelHeight + CellHeight / 2 + Margin;
    for (const RoundCase& rc : cases) {
        TAbSBevel bevel;
        // As the gear dial sets its bevel up.
        bevel.SetColorShadowFrom(clBtnHighlight);
        bevel.SetColorShadowTo(clBtnShadow);
        bevel.SetCircular(true);
        bevel.SetBevelLine(rc.line);
        bevel.SetPenColor(clBtnShadow);
        bevel.SetSpacing(1);
        bevel.SetStyle(rc.style);
        bevel.SurfaceGrad()->SetVisible(rc.gradient);
        bevel.SurfaceGrad()->SetStyle(gsElliptic3);
        bevel.SurfaceGrad()->SetColorFrom(clWhite);
        Label(c, x, roundTop, rc.name);
        TRect r = Bounds(x, roundTop + LabelHeight, CellHeight, CellHeight);
        bevel.PaintRound(c, r, 0, 0);
        // The face rectangle the dial would draw its pointer in.
        c.Brush().Style = bsClear;
        c.Pen().Color = clRed;
        c.Pen().Width = 1;
        c.Rectangle(r);
        x += CellWidth + Margin;
    }
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const std::string output = argc > 1 ? argv[1] : "docs/gradients.png";

    const int rows = (GradientStyleCount * PairCount + Columns - 1) / Columns;
    const int gradientsHeight = Margin + rows * (CellHeight + LabelHeight + Margin);
    const int width = Margin + Columns * (CellWidth + Margin);
    const int height =
        gradientsHeight + 2 * (LabelHeight + Margin) + CellHeight / 2 + CellHeight + Margin;

    TBitmap sheet(width, height);
    TCanvas& c = sheet.Canvas();
    c.Brush().Color = Background;
    c.FillRect({0, 0, width, height});
    c.Font().SetName("Verdana");
    c.Font().SetHeight(12);
    DrawGradients(c);
    DrawBevels(c, gradientsHeight);

    if (!sheet.Image().save(QString::fromStdString(output))) {
        std::fprintf(stderr, "cannot write %s\n", output.c_str());
        return 1;
    }
    std::printf("%s: %d x %d\n", output.c_str(), width, height);
    return 0;
}
