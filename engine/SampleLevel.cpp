// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/SampleLevel.h"

#include "core/ChannelCalibration.h"
#include "engine/LevelFormat.h"
#include "engine/VoltReference.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace {

// A voltage typed back from a limit written with its digits lands within
// this of full scale or the lowest level; so does the arithmetic of a level
// that is exactly there (0 dBu on an output calibrated at 0.774597 V).
constexpr double kEdgeSlackDb = 1e-9;

bool IsCalibration(std::optional<double> volts) {
    return volts && IsCalibrationVoltage(*volts);
}

// 20 log10(a / b) without overflowing the quotient.
double DecibelsBetween(double a, double b) {
    return 20 * (std::log10(a) - std::log10(b));
}

// The sine's RMS volts at the jack that the level asks for, as dB relative
// to the calibration (a full-scale sine): the sample level.
double PeakDbAtJack(const WrittenLevel& level, double fullScaleVolts) {
    switch (level.unit) {
    case LevelUnit::DbFs:
        return level.number;
    case LevelUnit::DbU:
        return level.number + DecibelsBetween(kDbuReferenceVolts, fullScaleVolts);
    case LevelUnit::DbV:
        return level.number + DecibelsBetween(kDbvReferenceVolts, fullScaleVolts);
    case LevelUnit::Volts:
        return DecibelsBetween(level.number, fullScaleVolts);
    case LevelUnit::MilliVolts:
        return DecibelsBetween(level.number / 1000, fullScaleVolts);
    case LevelUnit::VoltsPeakToPeak:
        return DecibelsBetween(level.number / kSinePeakToPeakPerRms, fullScaleVolts);
    case LevelUnit::MilliVoltsPeakToPeak:
        return DecibelsBetween(level.number / 1000 / kSinePeakToPeakPerRms, fullScaleVolts);
    }
    return level.number;
}

SampleLevelResult RefusedLevel(LevelRefusalReason reason, std::optional<WrittenLevel> limit = {}) {
    return {std::nullopt, {reason, limit}};
}

// The limit in the asked unit, as it is shown, so that it reads back as
// a level the output plays.
WrittenLevel ShownLimit(double peakDb, double fullScaleVolts, LevelUnit unit,
                        LevelRounding rounding) {
    const WrittenLevel exact = LevelInUnit(peakDb, fullScaleVolts, unit);
    const std::string shown = FormatLevel(exact, rounding);
    double number = 0;
    std::from_chars(shown.data(), shown.data() + shown.size(), number);
    return {number, unit};
}

} // namespace

SampleLevelResult ToSampleLevel(const WrittenLevel& level, std::optional<double> fullScaleVolts) {
    if (level.unit == LevelUnit::DbFs) {
        if (!(level.number >= kLowestPeakLevelDb && level.number <= kHighestPeakLevelDb))
            return RefusedLevel(LevelRefusalReason::DbFsOutOfRange);
        return {level.number, {}};
    }
    if (IsInVolts(level.unit) && !(level.number > 0))
        return RefusedLevel(LevelRefusalReason::VoltsNotPositive);
    if (!IsCalibration(fullScaleVolts))
        return RefusedLevel(LevelRefusalReason::NotCalibrated);
    const double peakDb = PeakDbAtJack(level, *fullScaleVolts);
    if (std::isnan(peakDb) || peakDb > kHighestPeakLevelDb + kEdgeSlackDb)
        return RefusedLevel(
            LevelRefusalReason::AboveFullScale,
            ShownLimit(kHighestPeakLevelDb, *fullScaleVolts, level.unit, LevelRounding::Down));
    if (peakDb < kLowestPeakLevelDb - kEdgeSlackDb)
        return RefusedLevel(
            LevelRefusalReason::BelowLowest,
            ShownLimit(kLowestPeakLevelDb, *fullScaleVolts, level.unit, LevelRounding::Up));
    return {std::clamp(peakDb, kLowestPeakLevelDb, kHighestPeakLevelDb), {}};
}

WrittenLevel LevelInUnit(double peakDb, double fullScaleVolts, LevelUnit unit) {
    const double sineVolts = fullScaleVolts * std::pow(10.0, peakDb / 20);
    switch (unit) {
    case LevelUnit::DbFs:
        return {peakDb, unit};
    case LevelUnit::DbU:
        return {peakDb + DecibelsBetween(fullScaleVolts, kDbuReferenceVolts), unit};
    case LevelUnit::DbV:
        return {peakDb + DecibelsBetween(fullScaleVolts, kDbvReferenceVolts), unit};
    case LevelUnit::Volts:
        return {sineVolts, unit};
    case LevelUnit::MilliVolts:
        return {sineVolts * 1000, unit};
    case LevelUnit::VoltsPeakToPeak:
        return {sineVolts * kSinePeakToPeakPerRms, unit};
    case LevelUnit::MilliVoltsPeakToPeak:
        return {sineVolts * kSinePeakToPeakPerRms * 1000, unit};
    }
    return {peakDb, LevelUnit::DbFs};
}
