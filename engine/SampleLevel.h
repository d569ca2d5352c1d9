// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// From a level in any unit to the level of the samples, and back. The
// sample level is the peak in dB relative to full scale, which the
// generator takes (a sine's RMS in dBFS by AES17). A voltage needs the
// output's calibration: the RMS volts of a full-scale sine on that output
// and channel. The conversion is exact (no rounding to hundredths of a dB:
// only a dBFS level as typed is taken to the hundredth), and nothing above
// full scale or below the lowest level is clipped: it is refused, with the
// largest or smallest level the output plays in the unit asked.

#include "engine/LevelRefusal.h"
#include "engine/LevelUnit.h"

#include <optional>

struct SampleLevelResult {
    std::optional<double> peakDb; // -120..0
    LevelRefusal refusal;         // when there is no level
};

// `fullScaleVolts`: the calibration, or none when the output has none (or
// a value outside kLowestCalibrationVolts..kHighestCalibrationVolts).
SampleLevelResult ToSampleLevel(const WrittenLevel& level, std::optional<double> fullScaleVolts);

// The level a sample level stands for in `unit` on an output calibrated at
// `fullScaleVolts` (a sine's RMS, or its peak to peak for Vpp).
WrittenLevel LevelInUnit(double peakDb, double fullScaleVolts, LevelUnit unit);
