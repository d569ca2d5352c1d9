// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/std/StdImage.h"

#include <QPainter>

TImage::TImage(TComponent* owner) : TStdControl<QWidget>(owner) {
    resize(105, 105);
}

void TImage::DeclareProperties(PropertyList& p) {
    TStdControl<QWidget>::DeclareProperties(p);
    p.String("Picture", &TImage::Picture, &TImage::SetPicture, std::string());
}

void TImage::SetPicture(const std::string& name) {
    picture_ = name;
    bitmap_ = name.empty() ? QPixmap() : QPixmap(QString::fromStdString(name));
    update();
}

void TImage::paintEvent(QPaintEvent*) {
    if (bitmap_.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, bitmap_);
}
