// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/RealFrameMixer.h"

#include "engine/ExactPhase.h"
#include "engine/PreciseWave.h"

#include <algorithm>
#include <cmath>

namespace {
// The same draw span as a 16-bit noise component at full level.
constexpr std::uint32_t kNoiseSteps = 65535;
} // namespace

RealFrameMixer::RealFrameMixer(const WaveFormat& format, std::uint32_t dataLength)
    : format_(format), dataLength_(dataLength),
      frames_((dataLength + format.BytesPerFrame() - 1) / format.BytesPerFrame(), 0.0) {}

void RealFrameMixer::Add(const ToneComponent& c, NoiseSource& noise) {
    if (!c.Audible())
        return;
    const double level = c.level / 100.0;
    if (c.wave > TTGWave::tgSawtooth) {
        for (double& v : frames_)
            v += level * (2.0 * noise.Draw(kNoiseSteps) / (kNoiseSteps - 1) - 1.0);
        return;
    }
    // One exact cycle (or the whole image, if shorter), repeated.
    const std::vector<double> cycle =
        PreciseWave(c.wave, c.frequency, format_.SamplesPerSecond(),
                    static_cast<int>(std::min<std::size_t>(frames_.size(), INT32_MAX)));
    if (cycle.empty())
        return;
    for (std::size_t pos = 0; pos < frames_.size(); pos += cycle.size()) {
        const std::size_t n = std::min(cycle.size(), frames_.size() - pos);
        for (std::size_t k = 0; k < n; ++k)
            frames_[pos + k] += level * cycle[k];
    }
}

void RealFrameMixer::Scale(double gain) {
    for (double& v : frames_)
        v *= gain;
}

void RealFrameMixer::ApplyEnvelope(const EnvelopeSettings& settings) {
    const std::vector<double> gains = EnvelopeGains(dataLength_, format_.BytesPerFrame(), settings);
    const std::size_t n = std::min(gains.size(), frames_.size());
    for (std::size_t i = 0; i < n; ++i)
        frames_[i] *= gains[i];
}

double PeakFromDecibels(double decibels) {
    return std::pow(10.0, decibels / 20.0);
}
