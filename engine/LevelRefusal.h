// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Why a level was refused, with the limit the output can play where that
// helps, and the one English line a front end shows for it (translated
// where it is shown). The line's placeholders: %1 the option or field, %2
// the text as typed (shown safely by the front end), %3 the limit as
// FormatLevel writes it, %4 the output's name (shown safely).

#include "engine/LevelUnit.h"

#include <optional>

enum class LevelRefusalReason {
    None,
    NotALevel,        // no number, or a unit that is not one of ours
    DecimalComma,     // "0,775V": the decimal separator is a point
    DbFsOutOfRange,   // a sample level outside -120..0 dB
    VoltsNotPositive, // "0V", "-1V"
    NotCalibrated,    // volts or dBu/dBV on an output without a calibration
    AboveFullScale,   // more than the output plays; limit = the largest
    BelowLowest       // less than the lowest level played; limit = the smallest
};

struct LevelRefusal {
    LevelRefusalReason reason = LevelRefusalReason::None;
    // The largest or smallest level, in the unit asked, rounded so that
    // typing it back is accepted.
    std::optional<WrittenLevel> limit;

    bool Refused() const { return reason != LevelRefusalReason::None; }
};

// The English line for the reason; an empty text for None.
const char* LevelRefusalText(LevelRefusalReason reason);
