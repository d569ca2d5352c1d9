// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/DigitStepField.h"

#include "panel/PanelText.h"

#include <QKeyEvent>

#include <algorithm>

namespace {
constexpr int kDecimals = 3;
} // namespace

DigitStepField::DigitStepField(QWidget* parent) : QLineEdit(parent) {}

void DigitStepField::Show(MilliHertz frequency) {
    const QChar point = PanelLocale().decimalPoint().at(0);
    setText(QStringLiteral("%1%2%3")
                .arg(frequency.value / 1000)
                .arg(point)
                .arg(frequency.value % 1000, kDecimals, 10, QLatin1Char('0')));
}

FrequencyReading DigitStepField::Read() const {
    // The engine reads a point; the panel's own decimal sign stands for it.
    QString typed = text().trimmed();
    typed.replace(PanelLocale().decimalPoint(), QStringLiteral("."));
    return ReadFrequency(typed.toStdString(), rate_);
}

std::int64_t DigitStepField::UnitLeftOfCursor() const {
    const QString t = text();
    int at = cursorPosition() - 1;
    const int point = t.indexOf(PanelLocale().decimalPoint());
    if (at >= 0 && at == point)
        --at; // the units, just left of the decimal sign
    if (at < 0 || at >= t.size() || !t.at(at).isDigit())
        return 0;
    const int end = point < 0 ? int(t.size()) : point;
    // Places from the units: 0 is the units, -1 the tenths.
    const int place = at < end ? end - 1 - at : end - at;
    std::int64_t unit = 1000;
    for (int p = place; p > 0; --p)
        unit *= 10;
    for (int p = place; p < 0; ++p)
        unit /= 10;
    return unit;
}

void DigitStepField::Step(int direction) {
    const std::optional<MilliHertz> now = Read().frequency;
    const std::int64_t unit = UnitLeftOfCursor();
    if (!now || unit == 0)
        return;
    const MilliHertz next{now->value + direction * unit};
    if (!FrequencyRange::AtRate(rate_).Holds(next))
        return;
    // The cursor keeps its place from the end, which the decimals fix.
    const int fromEnd = int(text().size()) - cursorPosition();
    Show(next);
    setCursorPosition(std::max(0, int(text().size()) - fromEnd));
    if (onStep)
        onStep(next);
}

void DigitStepField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        Step(event->key() == Qt::Key_Up ? 1 : -1);
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}
