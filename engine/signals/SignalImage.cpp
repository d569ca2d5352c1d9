// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/signals/SignalImage.h"

#include "engine/SampleWriter.h"
#include "engine/signals/ExactSine.h"
#include "engine/signals/PinkNoise.h"
#include "engine/signals/TwoTone.h"

#include <algorithm>
#include <cmath>

namespace {

std::vector<double> Sine(int frequency, int rate, std::size_t frames, int lagTenths) {
    std::vector<double> out(frames);
    for (std::size_t n = 0; n < frames; ++n)
        out[n] = ExactSine(frequency, rate, n, lagTenths);
    return out;
}

} // namespace

ChannelSamples SignalSamples(const MeasurementSignal& signal, int frequency, int rate,
                             std::size_t frames) {
    ChannelSamples out;
    switch (signal.kind) {
    case SignalKind::Sweep:
        out.left = SweepSamples(signal.sweep, rate);
        break;
    case SignalKind::PinkNoise:
        out.left = PinkNoise(static_cast<int>(frames), rate, kPinkNoiseSeed);
        break;
    case SignalKind::Smpte:
        out.left = TwoToneSamples(TwoTone::Smpte(), rate, static_cast<int>(frames));
        break;
    case SignalKind::Ccif:
        out.left = TwoToneSamples(TwoTone::Ccif(), rate, static_cast<int>(frames));
        break;
    case SignalKind::Burst:
        out.left = ToneBurstSamples(signal.burst, frequency, rate, frames);
        break;
    case SignalKind::Tone:
        out.left = Sine(frequency, rate, frames, 0);
        if (signal.rightLagTenths != 0 || signal.rightFrequency != 0)
            out.right = Sine(signal.rightFrequency ? signal.rightFrequency : frequency, rate,
                             frames, signal.rightLagTenths);
        break;
    }
    return out;
}

void WriteSignalData(const ChannelSamples& samples, const WaveFormat& format, double peak,
                     TpdfDither* dither, std::uint8_t* data) {
    WriteSignalData(samples, format, peak, peak, dither, data);
}

void WriteSignalData(const ChannelSamples& samples, const WaveFormat& format, double leftPeak,
                     double rightPeak, TpdfDither* dither, std::uint8_t* data) {
    if (leftPeak == 1.0 && rightPeak == 1.0) {
        WriteChannelSamples(samples.left, samples.right, format, dither, data);
        return;
    }
    const auto scaled = [](std::vector<double> v, double peak) {
        for (double& x : v)
            x *= peak;
        return v;
    };
    // A right channel that repeats the left one gets the left's samples at
    // its own peak.
    const bool ownRight = format.stereo && rightPeak != leftPeak;
    const std::vector<double>& right =
        samples.right.empty() && ownRight ? samples.left : samples.right;
    WriteChannelSamples(scaled(samples.left, leftPeak), scaled(right, rightPeak), format, dither,
                        data);
}
