// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reads a level as a user writes it: "-20" or "-20dBFS" (the peak in dB
// relative to full scale, -120..0, taken to the nearest hundredth of a dB),
// "0dBu", "-10dBV", "775mV" or "0.775V" (RMS of a sine), "2Vpp" or
// "500mVpp" (peak to peak). The number is a plain decimal with a point
// ("1.5", "-3", "2e-3"), with a plus sign allowed before a unit ("+4dBu");
// spaces may stand between the number and the unit. Units
// take any case except where case carries meaning: the "m" of millivolts is
// lower case (M is mega), and dBV ends in a capital V (dBv once meant dBu).
// "Vrms" and "mVrms" are read as V and mV.

#include "engine/LevelRefusal.h"
#include "engine/LevelUnit.h"

#include <optional>
#include <string_view>

struct LevelTextReading {
    std::optional<WrittenLevel> level;
    LevelRefusal refusal; // when there is no level
};

LevelTextReading ReadLevelText(std::string_view text);
