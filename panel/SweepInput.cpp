// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/SweepInput.h"

#include "engine/ToneLimits.h"
#include "panel/PanelText.h"

#include <QRegularExpression>

#include <optional>

namespace {

std::optional<int> WholeHertz(const QString& text) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,6}$"));
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    const int hz = text.toInt();
    if (hz < kMinToneFrequency || hz > kMaxToneFrequency)
        return std::nullopt;
    return hz;
}

std::optional<int> Milliseconds(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^([0-9]{1,3})(?:[.,]([0-9]{1,3}))?$"));
    const QRegularExpressionMatch m = number.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const int ms = m.captured(1).toInt() * 1000 + m.captured(2).leftJustified(3, u'0').toInt();
    if (ms < kMinSweepDialogMs || ms > kMaxSweepDialogMs)
        return std::nullopt;
    return ms;
}

QString Frequencies(const char* field, const QString& text) {
    return PanelText("%1: «%2» — нужно целое число от %3 до %4 Гц")
        .arg(PanelText(field), text)
        .arg(kMinToneFrequency)
        .arg(kMaxToneFrequency);
}

} // namespace

SweepInput ReadSweepInput(const QString& from, const QString& to, const QString& seconds,
                          bool linear) {
    SweepInput input;
    const QString fromText = from.trimmed(), toText = to.trimmed(), timeText = seconds.trimmed();
    const std::optional<int> start = WholeHertz(fromText);
    const std::optional<int> end = WholeHertz(toText);
    const std::optional<int> ms = Milliseconds(timeText);
    if (!start)
        input.refusals << Frequencies("От, Гц", fromText);
    if (!end)
        input.refusals << Frequencies("До, Гц", toText);
    if (start && end && *start == *end)
        input.refusals << PanelText("«От» и «До» должны различаться");
    if (!ms)
        input.refusals << PanelText("%1: «%2» — нужно число от 0,1 до 60 с, не больше трёх знаков "
                                    "после запятой")
                              .arg(PanelText("Время, с"), timeText);
    if (!input.refusals.isEmpty())
        return input;
    SweepSettings sweep;
    sweep.startHz = *start;
    sweep.endHz = *end;
    sweep.durationMs = *ms;
    sweep.linear = linear;
    input.settings = sweep;
    return input;
}
