// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether a stored calibration still says what comes out of the jack. The
// meter reading held at the output's volume of that moment; the program
// never changes the volume, but the user or another program may, and then
// every voltage shown from the calibration is marked as no longer valid.

#include "core/ChannelCalibration.h"

#include <cstdint>
#include <optional>

enum class CalibrationStanding {
    NotCalibrated, // no calibration of this output and channel
    Valid,         // the volume is the calibration's
    VolumeChanged, // the volume differs: the volts no longer hold
    VolumeUnknown  // the server did not say: the volts cannot be vouched for
};

// `currentVolume`: the channel's volume as the server reports it now, in
// the server's scale (as stored), or none when it is not known.
constexpr CalibrationStanding StandingOf(const std::optional<ChannelCalibration>& calibration,
                                         std::optional<std::uint32_t> currentVolume) {
    if (!calibration)
        return CalibrationStanding::NotCalibrated;
    if (!currentVolume)
        return CalibrationStanding::VolumeUnknown;
    return *currentVolume == calibration->volume ? CalibrationStanding::Valid
                                                 : CalibrationStanding::VolumeChanged;
}

// Whether an output's calibration still holds: each channel's volume
// against that channel's own stored one, so that turning down the right
// channel alone marks the volts too. A changed channel outweighs one the
// server did not tell, which outweighs a valid one; a channel without a
// calibration says nothing about the other.
constexpr CalibrationStanding StandingOfOutput(const OutputCalibration& calibration,
                                               std::optional<std::uint32_t> leftVolume,
                                               std::optional<std::uint32_t> rightVolume) {
    const CalibrationStanding left = StandingOf(calibration.left, leftVolume);
    const CalibrationStanding right = StandingOf(calibration.right, rightVolume);
    for (const CalibrationStanding worst :
         {CalibrationStanding::VolumeChanged, CalibrationStanding::VolumeUnknown,
          CalibrationStanding::Valid})
        if (left == worst || right == worst)
            return worst;
    return CalibrationStanding::NotCalibrated;
}
