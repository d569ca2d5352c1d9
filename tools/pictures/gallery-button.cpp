// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the coloured bit button in its main states with the front panel's
// look (off, held down, disabled, flashing in both phases, a glyph button)
// into one PNG sheet: gallery-button [output.png]

#include "controls/AbCBitBt.h"
#include "core/Layout.h"
#include "tests/support/PanelLayoutBlock.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

class GalleryForm : public QWidget, public TComponent {
public:
    GalleryForm() : QWidget(nullptr), TComponent(nullptr) {}
};

constexpr int kCellW = 160;
constexpr int kCellH = 90;
constexpr int kMargin = 10;
constexpr int kBtnW = 140; // the panel's buttons
constexpr int kBtnH = 47;
constexpr int kCaptionH = 20;

// One of the panel's buttons as the panel's layout stores it, moved to its
// column of the sheet.
TAbColBitBtn* PanelButton(GalleryForm& form, int column, const char* name) {
    auto* b = dynamic_cast<TAbColBitBtn*>(ReadLayout(PanelLayoutBlock(name), &form).release());
    if (b == nullptr)
        throw std::runtime_error(std::string(name) + " is not a coloured button");
    b->SetBounds(kMargin + column * kCellW, kMargin, b->Width(), b->Height());
    return b;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const std::string out = argc > 1 ? argv[1] : "docs/gallery-button.png";

    const std::vector<std::string> captions{"off",           "held down",     "disabled",
                                            "flash phase 1", "flash phase 0", "glyph, on"};
    GalleryForm form;
    form.resize(kCellW * int(captions.size()) + kMargin, kCellH);
    QPalette pal = form.palette();
    pal.setColor(QPalette::Window, QColor(0x30, 0x30, 0x30));
    form.setPalette(pal);
    form.setAutoFillBackground(true);

    RegisterAbCBitBtnClasses();
    // "Старт", "Стоп" and "Выход" on the panel.
    PanelButton(form, 0, "AbColBitBtn1");
    TAbColBitBtn* held = PanelButton(form, 1, "AbColBitBtn1");
    TAbColBitBtn* disabled = PanelButton(form, 2, "AbColBitBtn2");
    disabled->SetEnabled(false);
    TAbColBitBtn* flash1 = PanelButton(form, 3, "AbColBitBtn3");
    TAbColBitBtn* flash0 = PanelButton(form, 4, "AbColBitBtn3");
    for (TAbColBitBtn* f : {flash1, flash0}) {
        f->SetMode(mSwitch);
        f->SetFlashing(true);
        f->SetChecked(true);
    }
    // Phases are set by hand below; the beat itself is not needed.
    if (RegistryFlashTimer())
        RegistryFlashTimer()->SetEnabled(false);

    // A two-cell glyph strip (normal, disabled) of a small lamp, with a
    // two-line text, as a switch that is on.
    TAbColBitBtn* glyphed = PanelButton(form, 5, "AbColBitBtn1");
    glyphed->SetTextColOn(clYellow);
    glyphed->SetTextColOff(clSilver);
    glyphed->SetTextOff("Канал|левый");
    glyphed->SetTextOn("Канал|левый");
    glyphed->Font()->SetHeight(14);
    constexpr int kLamp = 16;
    QImage strip(kLamp * 2, kLamp, QImage::Format_RGB32);
    strip.fill(Qt::white);
    {
        QPainter p(&strip);
        p.setPen(Qt::black);
        p.setBrush(QColor(255, 200, 0));
        p.drawEllipse(2, 2, kLamp - 5, kLamp - 5);
        p.setBrush(QColor(128, 128, 128));
        p.drawEllipse(kLamp + 2, 2, kLamp - 5, kLamp - 5);
    }
    glyphed->SetGlyph(TBitmap(strip));
    glyphed->SetNumGlyph(2);
    glyphed->SetMode(mSwitch);
    glyphed->SetChecked(true);

    form.show();
    QApplication::processEvents();
    form.repaint();

    const QPointF inside(10, 10);
    QMouseEvent press(QEvent::MouseButtonPress, inside, held->mapToGlobal(inside), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(held, &press);
    flash1->FlashNotification({CM_FLASH, 64, 1});
    flash0->FlashNotification({CM_FLASH, 128, 0});
    QApplication::processEvents();

    QImage sheet = form.grab().toImage();
    {
        QPainter p(&sheet);
        p.setPen(QColor(220, 220, 220));
        for (int i = 0; i < int(captions.size()); ++i)
            p.drawText(QRect(kMargin + i * kCellW, kMargin + kBtnH + 4, kBtnW, kCaptionH),
                       Qt::AlignHCenter | Qt::AlignTop, QString::fromStdString(captions[i]));
    }
    return sheet.save(QString::fromStdString(out)) ? 0 : 1;
}
