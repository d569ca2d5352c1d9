// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/LevelRefusal.h"

const char* LevelRefusalText(LevelRefusalReason reason) {
    switch (reason) {
    case LevelRefusalReason::None:
        return "";
    case LevelRefusalReason::NotALevel:
        return "%1 must be a level such as -20, -20dBFS, 0dBu, -10dBV, 775mV, 0.775V or 2Vpp, "
               "not %2";
    case LevelRefusalReason::DecimalComma:
        return "%1 takes a decimal point, not a comma (0.775V, not 0,775V): %2";
    case LevelRefusalReason::DbFsOutOfRange:
        return "%1 must be a number from -120 to 0 (dB relative to full scale), not %2";
    case LevelRefusalReason::VoltsNotPositive:
        return "%1 must be a voltage above 0, not %2";
    case LevelRefusalReason::NotCalibrated:
        return "%1 %2 needs the output's level calibrated once with a meter: "
               "orbel calibrate --device %4";
    case LevelRefusalReason::AboveFullScale:
        return "%1 %2 is more than this output plays: at most %3";
    case LevelRefusalReason::BelowLowest:
        return "%1 %2 is less than this output plays: at least %3";
    }
    return "";
}
