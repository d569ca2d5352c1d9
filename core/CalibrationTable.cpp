// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/CalibrationTable.h"

std::optional<ChannelCalibration> CalibrationTable::Find(const std::string& output,
                                                         OutputChannel channel) const {
    const auto found = outputs_.find(output);
    if (found == outputs_.end())
        return std::nullopt;
    return found->second.Channel(channel);
}

void CalibrationTable::Replace(const std::string& output, const OutputCalibration& calibration) {
    if (!calibration.left && !calibration.right)
        outputs_.erase(output);
    else
        outputs_[output] = calibration;
}
