// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/std/StdLabel.h"

#include "platform/Fonts.h"
#include "platform/SystemColors.h"

#include <QFontMetrics>
#include <QPainter>

TLabel::TLabel(TComponent* owner) : TStdControl<QWidget>(owner) {
    resize(65, 17);
    FontChanged();
}

void TLabel::DeclareProperties(PropertyList& p) {
    TStdControl<QWidget>::DeclareProperties(p);
    p.Bool("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize, true);
    p.String("Caption", &TLabel::Caption, &TLabel::SetCaption, std::string());
    p.Color("Color", &TLabel::Color, &TLabel::SetColor, clBtnFace);
    p.Bool("Transparent", &TLabel::Transparent, &TLabel::SetTransparent, false);
}

void TLabel::Loaded() {
    TStdControl<QWidget>::Loaded();
    AdjustBounds();
}

void TLabel::SetCaption(const std::string& value) {
    if (value == caption_)
        return;
    caption_ = value;
    AdjustBounds();
    update();
}

void TLabel::SetColor(TColor value) {
    if (value == color_)
        return;
    color_ = value;
    update();
}

void TLabel::SetTransparent(bool value) {
    if (value == transparent_)
        return;
    transparent_ = value;
    update();
}

void TLabel::SetAutoSize(bool value) {
    if (value == autoSize_)
        return;
    autoSize_ = value;
    AdjustBounds();
}

QSize TLabel::TextExtent() const {
    // The text's advance, or further where its last letter inks past it
    // (an English "Hz" does; the designed captions never do), so that the
    // label covers all of its text.
    const QFontMetrics metrics(font());
    return {CoveredTextWidth(font(), QString::fromStdString(caption_)), metrics.height()};
}

void TLabel::FontChanged() {
    TStdControl<QWidget>::FontChanged();
    AdjustBounds();
}

void TLabel::AdjustBounds() {
    // The stored bounds stand while loading; the size follows the text once
    // the font and caption are both known.
    if (!autoSize_ || IsLoading())
        return;
    resize(TextExtent());
}

void TLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = rect();
    if (!transparent_)
        painter.fillRect(area, ToQColor(color_));
    // A label that does not size itself to its text narrows the text instead.
    TFont shown;
    shown.Assign(*Font());
    if (!autoSize_)
        FitFontToWidth(shown, caption_, area.width());
    painter.setFont(ToQFont(shown));
    painter.setPen(ToQColor(Font()->Color()));
    painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     QString::fromStdString(caption_));
}
