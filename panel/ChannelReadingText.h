// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The status line's words for the selected channel's exact frequency and
// its level in volts ("Левый канал: 997,123 Гц", "Левый канал: 1000 Гц,
// 0,775 В ср.кв. (0,0 dBu)"), in the panel's language and its numbers.

#include "instrument/InstrumentState.h"

#include <QString>

QString ChannelReadingText(const instrument::ChannelReading& reading);
// The frequency with the panel's decimal sign and no trailing zeros
// ("997,123", "12,5", "1000").
QString FrequencyInPanelNumbers(MilliHertz frequency);
