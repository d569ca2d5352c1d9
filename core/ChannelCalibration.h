// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a level calibration of one output holds: for each channel, the RMS
// volts a full-scale sine gives at the jack (read once from a meter), when
// it was measured, and the output's volume then (the meter reading holds
// only at that volume: the program never changes it).

#include <cstdint>
#include <optional>
#include <string>

enum class OutputChannel { Left, Right };

// The calibrations taken as real: the RMS volts of a full-scale sine on any
// output lies far inside these.
inline constexpr double kLowestCalibrationVolts = 1e-6;
inline constexpr double kHighestCalibrationVolts = 1e4;

struct ChannelCalibration {
    double fullScaleVolts = 0;
    // UTC, "2026-12-09T17:46:00Z" (CalibrationDate).
    std::string date;
    // The server's volume of that channel, its own scale (65536 is 100 %).
    std::uint32_t volume = 0;

    bool operator==(const ChannelCalibration&) const = default;
};

struct OutputCalibration {
    std::optional<ChannelCalibration> left, right;

    const std::optional<ChannelCalibration>& Channel(OutputChannel channel) const {
        return channel == OutputChannel::Left ? left : right;
    }
    bool operator==(const OutputCalibration&) const = default;
};

// Whether a voltage is one a calibration may hold.
inline bool IsCalibrationVoltage(double volts) {
    return volts >= kLowestCalibrationVolts && volts <= kHighestCalibrationVolts;
}
