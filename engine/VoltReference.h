// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The fixed voltages the level units are measured against.

#include <cmath>
#include <numbers>

// 0 dBu: the voltage that puts 1 mW into 600 ohms, sqrt(0.6) V RMS
// (0.774597 V).
inline const double kDbuReferenceVolts = std::sqrt(0.6);
// 0 dBV: 1 V RMS.
inline constexpr double kDbvReferenceVolts = 1.0;
// A sine's peak-to-peak voltage per RMS volt, 2 sqrt(2).
inline constexpr double kSinePeakToPeakPerRms = 2 * std::numbers::sqrt2;
// The lowest and highest sample levels the generator plays, as the peak in
// dB relative to full scale.
inline constexpr double kLowestPeakLevelDb = -120;
inline constexpr double kHighestPeakLevelDb = 0;
