// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/std/StdPanel.h"

#include "platform/SystemColors.h"

#include <QPainter>

namespace {
const std::vector<std::string>& BevelNames() {
    static const std::vector<std::string> names{"bvNone", "bvLowered", "bvRaised", "bvSpace"};
    return names;
}

// One bevel ring of `width` pixels just inside `area`; returns the area
// left inside it.
QRect PaintBevelRing(QPainter& painter, QRect area, TPanelBevel kind, int width, bool twoTone) {
    if (kind == bvNone)
        return area;
    const QColor light = ToQColor(twoTone ? clBtnHighlight : clBtnShadow);
    const QColor dark = ToQColor(clBtnShadow);
    const QColor topLeft = kind == bvLowered ? dark : light;
    const QColor bottomRight = kind == bvLowered ? light : dark;
    for (int i = 0; i < width && area.width() > 0 && area.height() > 0; ++i) {
        if (kind != bvSpace) {
            painter.fillRect(QRect(area.left(), area.top(), area.width(), 1), topLeft);
            painter.fillRect(QRect(area.left(), area.top(), 1, area.height()), topLeft);
            painter.fillRect(QRect(area.left(), area.bottom(), area.width(), 1), bottomRight);
            painter.fillRect(QRect(area.right(), area.top(), 1, area.height()), bottomRight);
        }
        area.adjust(1, 1, -1, -1);
    }
    return area;
}
} // namespace

TPanel::TPanel(TComponent* owner) : TStdControl<QWidget>(owner) {
    resize(185, 41);
    FontChanged();
}

void TPanel::DeclareProperties(PropertyList& p) {
    TStdControl<QWidget>::DeclareProperties(p);
    p.Enum("BevelInner", &TPanel::BevelInner, &TPanel::SetBevelInner, BevelNames(), bvNone);
    p.Enum("BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter, BevelNames(), bvRaised);
    p.Int("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth, 1);
    p.String("Caption", &TPanel::Caption, &TPanel::SetCaption, std::string());
    p.Color("Color", &TPanel::Color, &TPanel::SetColor, clBtnFace);
    p.Bool("Ctl3D", &TPanel::Ctl3D, &TPanel::SetCtl3D, true);
    p.Bool("TabStop", &TPanel::TabStop, &TPanel::SetTabStop, false);
}

void TPanel::SetColor(TColor value) {
    color_ = value;
    update();
}

void TPanel::SetBevelOuter(TPanelBevel value) {
    bevelOuter_ = value;
    update();
}

void TPanel::SetBevelInner(TPanelBevel value) {
    bevelInner_ = value;
    update();
}

void TPanel::SetBevelWidth(int value) {
    if (value < 1)
        return;
    bevelWidth_ = value;
    update();
}

void TPanel::SetCtl3D(bool value) {
    ctl3D_ = value;
    update();
}

void TPanel::SetCaption(const std::string& value) {
    caption_ = value;
    update();
}

void TPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QRect area = rect();
    painter.fillRect(area, ToQColor(color_));
    area = PaintBevelRing(painter, area, bevelOuter_, bevelWidth_, ctl3D_);
    area = PaintBevelRing(painter, area, bevelInner_, bevelWidth_, ctl3D_);
    if (caption_.empty())
        return;
    painter.setFont(font());
    painter.setPen(ToQColor(Font()->Color()));
    painter.drawText(area, Qt::AlignCenter, QString::fromStdString(caption_));
}
