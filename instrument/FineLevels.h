// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A level written in any unit as the instrument plays it: the sample level
// each channel's jack needs for it through the output's calibration, the
// amplitude dial's position nearest to it, and the reading the status line
// gives of the selected channel.

#include "engine/LevelRefusal.h"
#include "instrument/InstrumentState.h"

#include <optional>

namespace instrument {

// The sample levels (peak dB relative to full scale) a written level asks of
// the channels a channel setting plays; a channel that does not play has
// none. Refused as a whole when either channel refuses.
struct ChannelLevels {
    std::optional<double> left;
    std::optional<double> right;
    LevelRefusal refusal;
};
ChannelLevels LevelsFor(const OutputCalibration& calibration, Channel channel,
                        const WrittenLevel& level);

// The louder channel's sample level of those that play.
double Loudest(const ChannelLevels& levels);

// The amplitude dial's reading (0..100, a linear share of full scale)
// nearest to a sample level.
int NearestAmplitude(double peakDb);

// The RMS volts of a full-scale sine at the jack of a channel setting's
// channel: both channels show the left one's (the right one's when only it
// is calibrated).
std::optional<double> FullScaleVolts(const OutputCalibration& calibration, Channel channel);

// The status line's reading, or none when there is nothing beyond what the
// displays show (a whole-hertz frequency on an uncalibrated output, noise,
// a measurement signal).
std::optional<ChannelReading> ReadingOf(const InstrumentState& state);

} // namespace instrument
