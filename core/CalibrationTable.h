// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The level calibrations of every output, by the server's device name (any
// bytes but empty). A new calibration of an output replaces its old one,
// both channels, and leaves the other outputs alone.

#include "core/ChannelCalibration.h"

#include <map>
#include <optional>
#include <string>

class CalibrationTable {
public:
    // That output's calibration of that channel, if it has one.
    std::optional<ChannelCalibration> Find(const std::string& output, OutputChannel channel) const;
    void Replace(const std::string& output, const OutputCalibration& calibration);

    const std::map<std::string, OutputCalibration>& Outputs() const { return outputs_; }
    bool operator==(const CalibrationTable&) const = default;

private:
    std::map<std::string, OutputCalibration> outputs_;
};
