// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/signals/SignalImage.h"

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

namespace {

long Step(double value, double scale) {
    const long limit = std::lrint(scale);
    return std::clamp(std::lrint(scale * value), -limit, limit);
}

} // namespace

void WriteSignalData(const ChannelSamples& samples, const WaveFormat& format, double peak,
                     std::uint8_t* data) {
    const std::vector<double>& right = samples.right.empty() ? samples.left : samples.right;
    const double scale = peak * (format.sixteenBit ? 32767 : 127);
    std::uint8_t* o = data;
    for (std::size_t n = 0; n < samples.Frames(); ++n) {
        for (int ch = 0; ch < format.Channels(); ++ch) {
            const long v = Step(ch == 0 ? samples.left[n] : right[n], scale);
            if (format.sixteenBit) {
                const auto u = static_cast<std::uint16_t>(v);
                *o++ = static_cast<std::uint8_t>(u);
                *o++ = static_cast<std::uint8_t>(u >> 8);
            } else {
                *o++ = static_cast<std::uint8_t>(128 + v);
            }
        }
    }
}
