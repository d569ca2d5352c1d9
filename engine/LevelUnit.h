// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The units a level may be written in, and a level as the user wrote it:
// its number and its unit. dBFS is the sample level itself (the peak in dB
// relative to full scale, so a sine's RMS in dBFS by AES17); every other
// unit is a voltage at the output's jack and needs the output calibrated.

#include <string_view>

enum class LevelUnit {
    DbFs,                // dB relative to full scale (a plain number too)
    DbU,                 // dB relative to 0.774597 V RMS
    DbV,                 // dB relative to 1 V RMS
    Volts,               // V RMS of a sine
    MilliVolts,          // mV RMS of a sine
    VoltsPeakToPeak,     // V peak to peak
    MilliVoltsPeakToPeak // mV peak to peak
};

struct WrittenLevel {
    double number = 0;
    LevelUnit unit = LevelUnit::DbFs;

    bool operator==(const WrittenLevel&) const = default;
};

// Whether the unit speaks of the voltage at the jack (every unit but dBFS).
constexpr bool NeedsCalibration(LevelUnit unit) {
    return unit != LevelUnit::DbFs;
}

// Whether the number is itself a voltage (V, mV, Vpp, mVpp), which must be
// above 0, rather than decibels.
constexpr bool IsInVolts(LevelUnit unit) {
    return unit != LevelUnit::DbFs && unit != LevelUnit::DbU && unit != LevelUnit::DbV;
}

// How the unit is written back to the user.
constexpr std::string_view UnitSymbol(LevelUnit unit) {
    switch (unit) {
    case LevelUnit::DbFs:
        return "dBFS";
    case LevelUnit::DbU:
        return "dBu";
    case LevelUnit::DbV:
        return "dBV";
    case LevelUnit::Volts:
        return "V";
    case LevelUnit::MilliVolts:
        return "mV";
    case LevelUnit::VoltsPeakToPeak:
        return "Vpp";
    case LevelUnit::MilliVoltsPeakToPeak:
        return "mVpp";
    }
    return "";
}
