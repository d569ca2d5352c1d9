// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the caption label in every appearance and colour scheme, a few
// shade and fill styles, and the panel's two labels, to
// docs/gallery-label.png (or the path given as the first argument).

#include "controls/label/OvcEffectPainter.h"
#include "controls/ovclabel.h"
#include "core/Layout.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/SystemColors.h"
#include "tests/support/PanelLayoutBlock.h"

#include <QApplication>

#include <cstdio>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kCellWidth = 170;
constexpr int kCellHeight = 46;
constexpr int kHeadWidth = 110;
constexpr int kHeadHeight = 22;
constexpr int kGap = 4;
constexpr TColor kSheet = 0xE0E0E0;
constexpr TColor kPanel = 0x404040;
const std::string kCaption = "ОРБЕЛ-01";

void Fill(TCanvas& c, const TRect& r, TColor color) {
    c.Brush() = {color, bsSolid};
    c.FillRect(r);
}

void Heading(TCanvas& c, int x, int y, const std::string& text) {
    c.Brush().Style = bsClear;
    c.Font().SetName("Arial");
    c.Font().SetHeight(12);
    c.Font().SetColor(clBlack);
    c.TextOut(x, y, text);
}

// Paints `label` into `cell` of the sheet over a plain background.
void Cell(TCanvas& sheet, const TRect& cell, TOvcLabel& label, TColor background) {
    TBitmap under(cell.Width(), cell.Height());
    Fill(under.Canvas(), {0, 0, cell.Width(), cell.Height()}, background);
    under.Canvas().EndPaint();
    const TOvcCaption caption{label.Caption(), label.Font(), label.TextFlags(), label.Transparent(),
                              label.Color()};
    OvcDrawEffects(sheet, cell, under, caption, label.Settings());
}

// One of the panel's caption labels as the panel's layout stores it.
std::unique_ptr<TOvcLabel> PanelLabel(const char* name) {
    std::unique_ptr<TComponent> c = ReadLayout(PanelLayoutBlock(name));
    if (dynamic_cast<TOvcLabel*>(c.get()) == nullptr)
        throw std::runtime_error(std::string(name) + " is not a caption label");
    return std::unique_ptr<TOvcLabel>(static_cast<TOvcLabel*>(c.release()));
}

struct Extra {
    const char* name;
    std::function<void(TOvcLabel&)> setup;
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string out = argc > 1 ? argv[1] : "docs/gallery-label.png";

    const std::vector<Extra> extras{
        {"ssExtrude 4",
         [](TOvcLabel& l) {
             l.CustomSettings()->SetShadowStyle(ssExtrude);
             l.CustomSettings()->SetShadowDepth(4);
         }},
        {"ssGraduated 4",
         [](TOvcLabel& l) {
             l.CustomSettings()->SetShadowStyle(ssGraduated);
             l.CustomSettings()->SetShadowDepth(4);
         }},
        {"hl ssGraduated 3",
         [](TOvcLabel& l) {
             l.CustomSettings()->SetHighlightStyle(ssGraduated);
             l.CustomSettings()->SetHighlightDepth(3);
         }},
        {"gsHorizontal",
         [](TOvcLabel& l) {
             l.CustomSettings()->SetGraduateStyle(gsHorizontal);
             l.CustomSettings()->SetGraduateFromColor(clRed);
         }},
        {"gsVertical",
         [](TOvcLabel& l) {
             l.CustomSettings()->SetGraduateStyle(gsVertical);
             l.CustomSettings()->SetGraduateFromColor(clWhite);
         }},
        {"centred", [](TOvcLabel& l) { l.SetAlignment(taCenter); }},
        {"right, opaque",
         [](TOvcLabel& l) {
             l.SetAlignment(taRightJustify);
             l.SetTransparent(false);
             l.SetColor(clInfoBk);
         }},
    };

    const int appearances = int(OvcAppearanceNames().size());
    const int rows = appearances + int(extras.size());
    const int panelRowHeight = 40;
    const int width = kHeadWidth + kOvcSchemeCount * (kCellWidth + kGap) + kGap;
    const int height =
        kHeadHeight + rows * (kCellHeight + kGap) + kHeadHeight + panelRowHeight + 2 * kGap;
    TBitmap sheet(width, height);
    TCanvas& c = sheet.Canvas();
    Fill(c, {0, 0, width, height}, kSheet);

    for (int s = 0; s < kOvcSchemeCount; ++s)
        Heading(c, kHeadWidth + s * (kCellWidth + kGap) + kGap, 4, OvcColorSchemeNames()[s]);
    for (int row = 0; row < rows; ++row) {
        const int y = kHeadHeight + row * (kCellHeight + kGap);
        const bool preset = row < appearances;
        Heading(c, 4, y + kCellHeight / 3,
                preset ? OvcAppearanceNames()[row] : extras[row - appearances].name);
        for (int s = 0; s < kOvcSchemeCount; ++s) {
            TOvcLabel label(nullptr);
            label.SetCaption(kCaption);
            label.Font()->SetStyle(FontStyleBit(fsBold));
            // The scheme first: choosing it leaves the appearance custom, so
            // the appearance chosen after it is the one shown.
            label.SetColorScheme(TOvcColorScheme(s));
            label.SetAppearance(preset ? TOvcAppearance(row) : apRaised);
            if (!preset)
                extras[row - appearances].setup(label);
            const int x = kHeadWidth + s * (kCellWidth + kGap) + kGap;
            Cell(c, Bounds(x, y, kCellWidth, kCellHeight), label, kSheet);
        }
    }

    // The panel's two labels at their stored settings, on the panel's grey.
    const int py = kHeadHeight + rows * (kCellHeight + kGap) + kGap;
    Heading(c, 4, py + 4, "panel labels (as stored, on 0x404040)");
    const int ly = py + kHeadHeight;
    Fill(c, Bounds(0, ly - kGap, width, panelRowHeight), kPanel);
    RegisterOvcLabel();
    const std::unique_ptr<TOvcLabel> model = PanelLabel("OvcLabel1");
    const std::unique_ptr<TOvcLabel> credit = PanelLabel("OvcLabel2");
    credit->SetCaption("Разработка: автор, адрес, 2024"); // empty in the layout
    for (TOvcLabel* l : {model.get(), credit.get()})
        Cell(c, Bounds(l->Left(), ly + l->Top() - model->Top(), l->Width(), l->Height()), *l,
             kPanel);

    c.EndPaint();
    if (!sheet.Image().save(QString::fromStdString(out))) {
        std::fprintf(stderr, "cannot write %s\n", out.c_str());
        return 1;
    }
    std::printf("%s\n", out.c_str());
    return 0;
}
