// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/std/StdRadioButton.h"

#include "platform/Fonts.h"
#include "platform/SystemColors.h"

#include <QPalette>
#include <QStyle>
#include <QStyleOptionButton>

TRadioButton::TRadioButton(TComponent* owner) : TStdControl<QRadioButton>(owner) {
    resize(113, 17);
    setAutoExclusive(true);
    QObject::connect(this, &QRadioButton::toggled, [this](bool checked) {
        // Tab reaches a group at its selected button; the arrow keys move
        // within the group.
        setFocusPolicy(checked ? Qt::StrongFocus : Qt::ClickFocus);
        if (checked && !IsLoading())
            OnClick(static_cast<TPersistent*>(this));
    });
    setFocusPolicy(Qt::ClickFocus);
    FontChanged();
}

void TRadioButton::DeclareProperties(PropertyList& p) {
    TStdControl<QRadioButton>::DeclareProperties(p);
    p.String("Caption", &TRadioButton::Caption, &TRadioButton::SetCaption, std::string());
    p.Bool("Checked", &TRadioButton::Checked, &TRadioButton::SetChecked, false);
}

void TRadioButton::SetCaption(const std::string& value) {
    setText(QString::fromStdString(value));
    FitCaption();
}

int TRadioButton::CaptionAreaWidth() const {
    QStyleOptionButton option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_RadioButtonContents, &option, this).width();
}

void TRadioButton::FitCaption() {
    TFont font;
    font.Assign(*Font());
    FitFontToWidth(font, Caption(), CaptionAreaWidth());
    setFont(ToQFont(font));
}

void TRadioButton::resizeEvent(QResizeEvent* event) {
    TStdControl<QRadioButton>::resizeEvent(event);
    FitCaption();
}

void TRadioButton::FontChanged() {
    TStdControl<QRadioButton>::FontChanged();
    // The caption is drawn in the font's colour on whatever the parent shows.
    QPalette palette = this->palette();
    const QColor text = ToQColor(Font()->Color());
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Text, text);
    setPalette(palette);
    FitCaption();
}
