// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What one precise component adds at each sample of its exact cycle: the
// waveform scaled to the classic peak level and rounded to the nearest step,
// never beyond the classic peak, so that components whose levels add up to
// full scale cannot wrap even where their peaks meet.

#include "engine/ExactPhase.h"
#include "engine/ExactSineTable.h"
#include "engine/PreciseWave.h"
#include "engine/ToneComponent.h"
#include "engine/WaveFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

// Samples 0 .. min(cycle length, count) - 1; the image repeats them.
template <class Sample>
std::vector<Sample> PreciseDeltas(const ToneComponent& c, const WaveFormat& format,
                                  std::size_t count) {
    const int rate = format.SamplesPerSecond();
    const int length =
        static_cast<int>(std::min<std::size_t>(ExactCycleLength(c.frequency, rate), count));
    // Half the classic span: the classic sine's peak before truncation.
    const long double peak =
        static_cast<long double>(c.level * (format.sixteenBit ? 32767 : 127)) / 100;
    const long limit = static_cast<long>(peak);
    const auto sample = [limit](long v) {
        return static_cast<Sample>(std::clamp(v, -limit, limit)); // modulo the sample width
    };
    std::vector<Sample> out;
    if (c.wave == TTGWave::tgSine) {
        // The sine is the exact table itself, scaled and rounded in extended
        // precision.
        const std::vector<long double>& sine = ExactSineTable::ForRate(rate).extended;
        out.resize(static_cast<std::size_t>(std::max(length, 0)));
        ExactPhase phase(c.frequency, rate);
        for (Sample& v : out) {
            v = sample(std::lrint(peak * sine[phase.Index()]));
            phase.Advance();
        }
        return out;
    }
    const std::vector<double> wave = PreciseWave(c.wave, c.frequency, rate, length);
    const double scale = static_cast<double>(peak);
    out.resize(wave.size());
    for (std::size_t n = 0; n < wave.size(); ++n) {
        // Half away from zero, as a plain conversion the compiler keeps
        // inline.
        const double v = scale * wave[n];
        out[n] = sample(static_cast<long>(v + (v < 0 ? -0.5 : 0.5)));
    }
    return out;
}
