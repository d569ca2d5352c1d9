// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/MeterReadingText.h"

#include "engine/LevelTextReader.h"
#include "engine/NumberText.h"

#include <cmath>

std::optional<double> ReadMeterVolts(std::string_view text) {
    double volts = 0;
    if (const std::optional<double> plain = ParseFiniteNumber(text)) {
        volts = *plain;
    } else {
        const LevelTextReading reading = ReadLevelText(text);
        if (!reading.level)
            return std::nullopt;
        if (reading.level->unit == LevelUnit::Volts)
            volts = reading.level->number;
        else if (reading.level->unit == LevelUnit::MilliVolts)
            volts = reading.level->number / 1000;
        else
            return std::nullopt;
    }
    if (!(volts > 0) || !std::isfinite(volts))
        return std::nullopt;
    return volts;
}
