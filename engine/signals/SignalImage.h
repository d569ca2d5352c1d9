// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The samples of a measurement signal for each channel, and their rounding
// into a wave image's sample data.

#include "engine/TpdfDither.h"
#include "engine/WaveFormat.h"
#include "engine/signals/MeasurementSignal.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct ChannelSamples {
    std::vector<double> left;
    std::vector<double> right; // empty: the same as the left

    std::size_t Frames() const { return left.size(); }
};

// The signal at `rate` with the main tone at `frequency`. `frames` is the
// image's length from its duration; a sweep has its own, and bursts round
// it up to whole bursts. Peaks are 1.
ChannelSamples SignalSamples(const MeasurementSignal& signal, int frequency, int rate,
                             std::size_t frames);

// Writes the frames as the format's samples (interleaved when stereo),
// `peak` of full scale (1: the sine's classic peak, 32767 or 127 steps),
// rounded to the nearest step, with triangular dither when `dither` is
// given. `data` holds Frames() * BytesPerFrame().
void WriteSignalData(const ChannelSamples& samples, const WaveFormat& format, double peak,
                     TpdfDither* dither, std::uint8_t* data);
// The same with the right channel at its own peak (a stereo format).
void WriteSignalData(const ChannelSamples& samples, const WaveFormat& format, double leftPeak,
                     double rightPeak, TpdfDither* dither, std::uint8_t* data);
