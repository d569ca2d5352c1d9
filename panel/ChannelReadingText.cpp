// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/ChannelReadingText.h"

#include "panel/PanelText.h"

#include <algorithm>
#include <cmath>

namespace {

const char* FrequencyPattern(instrument::Channel channel) {
    switch (channel) {
    case instrument::Channel::Left:
        return "Левый канал: %1 Гц";
    case instrument::Channel::Right:
        return "Правый канал: %1 Гц";
    case instrument::Channel::Both:
        break;
    }
    return "Оба канала: %1 Гц";
}

// Three significant digits, as a meter shows them ("0,775", "12,3", "0,0123").
QString Volts(double volts) {
    const int decimals =
        volts > 0 ? std::clamp(2 - static_cast<int>(std::floor(std::log10(volts))), 0, 9) : 0;
    return PanelLocale().toString(volts, 'f', decimals);
}

} // namespace

QString FrequencyInPanelNumbers(MilliHertz frequency) {
    QString text = QString::fromStdString(FrequencyText(frequency));
    return text.replace(QLatin1Char('.'), PanelLocale().decimalPoint());
}

QString ChannelReadingText(const instrument::ChannelReading& reading) {
    QString text = PanelText(FrequencyPattern(reading.channel))
                       .arg(FrequencyInPanelNumbers(reading.frequency));
    if (!reading.rmsVolts)
        return text;
    // -0,04 dBu reads as 0,0, never as -0,0.
    double dbu = reading.dbu ? std::round(*reading.dbu * 10) / 10 : 0;
    if (dbu == 0)
        dbu = 0;
    const QString dbuText = PanelLocale().toString(dbu, 'f', 1);
    if (!reading.voltsValid) {
        // The meter reading no longer holds: every volt figure is marked,
        // and the line, which must stay within the status frame, says why
        // in place of the frequency the displays show.
        QString doubted =
            PanelText("Громкость изменилась, вольты устарели: %1 В?").arg(Volts(*reading.rmsVolts));
        if (reading.dbu)
            doubted += QStringLiteral(" (%1 dBu?)").arg(dbuText);
        return doubted;
    }
    text += PanelText(", %1 В ср.кв.").arg(Volts(*reading.rmsVolts));
    if (reading.dbu)
        text += QStringLiteral(" (%1 dBu)").arg(dbuText);
    return text;
}

QString ResamplingText(const instrument::DisplayState::Resampling& resampling) {
    const auto kilohertz = [](int rate) { return PanelLocale().toString(rate / 1000.0, 'g', 6); };
    return PanelText("Сервер пересчитает %1 кГц в %2 кГц выхода")
        .arg(kilohertz(resampling.played), kilohertz(resampling.output));
}

QString StatusLineText(const instrument::DisplayState& shown) {
    if (!shown.status.empty())
        return QString::fromStdString(PanelString(shown.status));
    const std::optional<instrument::ChannelReading>& reading = shown.reading;
    // Volts no longer valid outweigh the note on the rate, which outweighs
    // the valid reading.
    if (reading && !reading->voltsValid)
        return ChannelReadingText(*reading);
    if (shown.resampling)
        return ResamplingText(*shown.resampling);
    return reading ? ChannelReadingText(*reading) : QString();
}
