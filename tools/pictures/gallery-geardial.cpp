// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the gear dial in its main states to a PNG contact sheet for visual
// review: the panel's dial at several values, focused, unfocused and
// disabled, the three pointer kinds, and a dial with the construction
// defaults. Usage: gallery-geardial [output.png]

#include "controls/AbGearDial.h"
#include "core/Layout.h"
#include "tests/support/PanelLayoutBlock.h"

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QWidget>

#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kCell = 130;
constexpr int kCaption = 34;
constexpr int kColumns = 4;
constexpr int kDialOffset = 20;
const QColor kPanelBackground(0x40, 0x40, 0x40);
const QColor kCaptionColour(0xC0, 0xC0, 0xC0);

enum class Focus { none, focused };

struct Cell {
    std::string caption;
    bool panelDial = true;
    Focus focus = Focus::none;
    std::function<void(TAbGearDial&)> setUp;
};

// The dial inside a window of the panel's colour, grabbed with what lies
// below it, so that the corners show the background as on the panel.
QImage Render(const Cell& cell) {
    QWidget host;
    host.resize(kCell, kCell);
    QPalette pal = host.palette();
    pal.setColor(QPalette::Window, kPanelBackground);
    host.setPalette(pal);
    host.setAutoFillBackground(true);
    QWidget sink(&host);
    sink.setGeometry(0, 0, 1, 1);
    sink.setFocusPolicy(Qt::StrongFocus);

    std::unique_ptr<TAbGearDial> dial;
    if (cell.panelDial) {
        std::unique_ptr<TComponent> c = ReadLayout(PanelLayoutBlock("AbGearDial1"));
        dial.reset(dynamic_cast<TAbGearDial*>(c.release()));
    } else {
        dial = std::make_unique<TAbGearDial>(nullptr);
        dial->Loaded();
    }
    dial->setParent(&host);
    host.show();
    QApplication::setActiveWindow(&host);
    cell.setUp(*dial);
    dial->setGeometry(kDialOffset, kDialOffset - 8, dial->Width(), dial->Height());
    dial->show();
    if (cell.focus == Focus::focused)
        dial->setFocus();
    else
        sink.setFocus();
    QApplication::processEvents();
    const QImage shot = host.grab().toImage();
    dial->setParent(nullptr);
    return shot;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RegisterGearDial();
    const std::string out = argc > 1 ? argv[1] : "docs/gallery-geardial.png";

    auto digit = [](int d) { return [d](TAbGearDial& g) { g.SetDigit(d); }; };
    auto kind = [](TDialPointer k, int d, int size = 8) {
        return [k, d, size](TAbGearDial& g) {
            g.SetPointerType(k);
            g.SetPointerSize(size);
            g.SetDigit(d);
        };
    };
    const std::vector<Cell> cells{
        {"digit 0 (minimum)", true, Focus::none, digit(0)},
        {"digit 5", true, Focus::none, digit(5)},
        {"digit 10 (12 o'clock)", true, Focus::none, digit(10)},
        {"digit 20 (maximum)", true, Focus::none, digit(20)},
        {"focused, digit 7", true, Focus::focused, digit(7)},
        {"unfocused, digit 7", true, Focus::none, digit(7)},
        {"disabled, digit 7", true, Focus::none,
         [](TAbGearDial& g) {
             g.SetDigit(7);
             g.SetEnabled(false);
         }},
        {"defaults, value 50", false, Focus::none, [](TAbGearDial& g) { g.SetValue(50.0f); }},
        {"line, focused", true, Focus::focused, kind(dpLine, 13)},
        {"triangle, unfocused", true, Focus::none, kind(dpTriangle, 13)},
        {"triangle, focused", true, Focus::focused, kind(dpTriangle, 3, 14)},
        {"line, size 500 (held)", true, Focus::focused, kind(dpLine, 16, 500)},
    };

    const int rows = (static_cast<int>(cells.size()) + kColumns - 1) / kColumns;
    QImage sheet(kColumns * kCell, rows * (kCell + kCaption), QImage::Format_RGB32);
    sheet.fill(kPanelBackground);
    QPainter p(&sheet);
    QFont font("DejaVu Sans");
    font.setPixelSize(11);
    p.setFont(font);
    p.setPen(kCaptionColour);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const int x = static_cast<int>(i % kColumns) * kCell;
        const int y = static_cast<int>(i / kColumns) * (kCell + kCaption);
        p.drawImage(x, y, Render(cells[i]));
        p.drawText(QRect(x, y + kCell - 4, kCell, kCaption), Qt::AlignHCenter | Qt::AlignTop,
                   QString::fromStdString(cells[i].caption));
    }
    p.end();
    if (!sheet.save(QString::fromStdString(out))) {
        std::cerr << "cannot write " << out << "\n";
        return 1;
    }
    std::cout << "wrote " << out << "\n";
    return 0;
}
