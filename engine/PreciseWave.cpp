// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/PreciseWave.h"

#include "engine/ExactPhase.h"
#include "engine/ExactSineTable.h"
#include "engine/FourierCycle.h"
#include "engine/HarmonicSeries.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Every harmonic straight from the exact sine table: sample n of harmonic k
// reads index (k * f * n mod rate), a cosine a quarter of the table further.
std::vector<double> DirectSum(const HarmonicSeries& series, int frequency, int rate, int count) {
    const std::vector<double>& sine = ExactSineTable::ForRate(rate).rounded;
    std::vector<double> out(static_cast<std::size_t>(count), 0.0);
    for (const Harmonic& h : series.harmonics) {
        ExactPhase phase(static_cast<long>(h.number) * frequency % rate, rate,
                         h.cosine ? rate / 4 : 0);
        const double a = h.amplitude;
        for (int n = 0; n < count; ++n) {
            out[n] += a * sine[phase.Index()];
            phase.Advance();
        }
    }
    return out;
}

// One cycle of the waveform on the length-point grid by an inverse FFT.
// The exact cycle holds c = f / gcd(f, rate) cycles, and c is prime to the
// length, so sample n of the component is point n * c mod length of it.
std::vector<double> FourierSum(const HarmonicSeries& series, int frequency, int rate, int count) {
    const int length = ExactCycleLength(frequency, rate);
    const int cycles = frequency / (rate / length);
    std::vector<double> cycle = FourierCycle(series, length);
    if (cycles == 1) {
        cycle.resize(static_cast<std::size_t>(count));
        return cycle;
    }
    std::vector<double> out(static_cast<std::size_t>(count));
    ExactPhase point(cycles, length);
    for (int n = 0; n < count; ++n) {
        out[n] = cycle[point.Index()];
        point.Advance();
    }
    return out;
}

} // namespace

std::vector<double> PreciseWave(TTGWave wave, int frequency, int rate, int count,
                                SumMethod method) {
    const HarmonicSeries series = BandLimitedSeries(wave, frequency, rate);
    if (series.Empty() || count <= 0)
        return {};
    const int length = ExactCycleLength(frequency, rate);
    count = std::min(count, length);
    // A cosine sits a quarter turn along the sine table, which needs a rate
    // divisible by 4 (both rates are).
    const bool directPossible =
        rate % 4 == 0 || std::none_of(series.harmonics.begin(), series.harmonics.end(),
                                      [](const Harmonic& h) { return h.cosine; });
    if (method == SumMethod::Fastest) {
        // Measured: one term of the direct sum costs about four times what
        // a transform spends per point and halving step.
        const double directWork = double(count) * double(series.harmonics.size());
        const double fourierWork = double(length) * std::log2(double(length) + 1) / 4;
        method =
            directPossible && directWork <= fourierWork ? SumMethod::Direct : SumMethod::Fourier;
    }
    if (method == SumMethod::Direct && !directPossible)
        method = SumMethod::Fourier;
    return method == SumMethod::Direct ? DirectSum(series, frequency, rate, count)
                                       : FourierSum(series, frequency, rate, count);
}
