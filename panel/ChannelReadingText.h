// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The status line's words for the selected channel's exact frequency and
// its level in volts ("Левый канал: 997,123 Гц", "Левый канал: 1000 Гц,
// 0,775 В ср.кв. (0,0 dBu)"; once the output's volume is no longer the
// calibration's, "Громкость изменилась, вольты устарели: 0,775 В? (0,0
// dBu?)"), in the panel's language and its numbers, and the whole status
// line built from them.

#include "instrument/InstrumentState.h"

#include <QString>

QString ChannelReadingText(const instrument::ChannelReading& reading);
// The status line: the pointer's hint or a notice when there is one; else
// the reading while its volts no longer hold; else the note that the server
// resamples the sound; else the reading.
QString StatusLineText(const instrument::DisplayState& shown);
// "Сервер пересчитает 96 кГц в 48 кГц выхода".
QString ResamplingText(const instrument::DisplayState::Resampling& resampling);
// The frequency with the panel's decimal sign and no trailing zeros
// ("997,123", "12,5", "1000").
QString FrequencyInPanelNumbers(MilliHertz frequency);
