// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/StepsInput.h"

#include "engine/ToneLimits.h"
#include "panel/PanelText.h"

#include <QRegularExpression>

namespace {

std::optional<int> WholeNumber(const QString& text, int lowest, int highest) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,6}$"));
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    const int n = text.toInt();
    if (n < lowest || n > highest)
        return std::nullopt;
    return n;
}

QString Refusal(const char* field, const QString& text, int lowest, int highest) {
    return PanelText("%1: «%2» — нужно целое число от %3 до %4")
        .arg(PanelText(field), text)
        .arg(lowest)
        .arg(highest);
}

} // namespace

StepsInput ReadStepsInput(const QString& from, const QString& to, const QString& count,
                          const QString& dwellMs, bool linear, bool upDown) {
    StepsInput input;
    const QString texts[] = {from.trimmed(), to.trimmed(), count.trimmed(), dwellMs.trimmed()};
    const struct {
        const char* field;
        int lowest;
        int highest;
    } fields[] = {{"От, Гц", kMinToneFrequency, kMaxToneFrequency},
                  {"До, Гц", kMinToneFrequency, kMaxToneFrequency},
                  {"Ступеней", 1, kMostSteps},
                  {"Выдержка, мс", kShortestDwellMs, kLongestDwellMs}};
    std::optional<int> values[4];
    for (int i = 0; i < 4; ++i) {
        values[i] = WholeNumber(texts[i], fields[i].lowest, fields[i].highest);
        if (!values[i])
            input.refusals << Refusal(fields[i].field, texts[i], fields[i].lowest,
                                      fields[i].highest);
    }
    if (values[0] && values[1] && *values[0] == *values[1])
        input.refusals << PanelText("«От» и «До» должны различаться");
    if (!input.refusals.isEmpty())
        return input;
    SteppedSweepSettings steps;
    steps.f1 = *values[0];
    steps.f2 = *values[1];
    steps.count = *values[2];
    steps.dwellMs = *values[3];
    steps.linear = linear;
    steps.upDown = upDown;
    input.settings = steps;
    return input;
}
