#pragma once
// What one precise component adds at each sample of its exact cycle: the
// waveform scaled to the classic peak level and rounded to the nearest step,
// never beyond the classic peak, so that components whose levels add up to
// full scale cannot wrap even where their peaks meet.

#include "engine/ExactPhase.h"
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
                                  std::size_t count, SumMethod method = SumMethod::Fastest) {
    const int rate = format.SamplesPerSecond();
    const int length =
        static_cast<int>(std::min<std::size_t>(ExactCycleLength(c.frequency, rate), count));
    const std::vector<long double> wave = PreciseWave(c.wave, c.frequency, rate, length, method);
    // Half the classic span: the classic sine's peak before truncation.
    const long double peak =
        static_cast<long double>(c.level * (format.sixteenBit ? 32767 : 127)) / 100;
    const long limit = static_cast<long>(peak);
    std::vector<Sample> out(wave.size());
    for (std::size_t n = 0; n < wave.size(); ++n) {
        const long v = std::clamp(std::lround(peak * wave[n]), -limit, limit);
        out[n] = static_cast<Sample>(v); // modulo the sample width, as the image adds
    }
    return out;
}
