// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/HarmonicSeries.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

// The highest k with k * frequency below half the rate.
int HighestHarmonic(int frequency, int rate) {
    return static_cast<int>((static_cast<long>(rate) - 1) / (2L * frequency));
}

} // namespace

double SeriesValue(const HarmonicSeries& series, double theta) {
    // cos and sin of k theta by repeated rotation: one sine and cosine for
    // the whole series; the rounding grows only linearly with k (below
    // 1e-12 for the longest series).
    const double turnCos = std::cos(theta), turnSin = std::sin(theta);
    double c = 1, s = 0;
    int k = 0;
    double sum = 0;
    for (const Harmonic& h : series.harmonics) {
        for (; k < h.number; ++k) {
            const double next = c * turnCos - s * turnSin;
            s = s * turnCos + c * turnSin;
            c = next;
        }
        sum += h.amplitude * (h.cosine ? c : s);
    }
    return sum;
}

HarmonicSeries BandLimitedSeries(TTGWave wave, int frequency, int rate) {
    if (frequency <= 0 || rate <= 0)
        return {};
    return SeriesUpTo(wave, HighestHarmonic(frequency, rate));
}

HarmonicSeries SeriesUpTo(TTGWave wave, int top) {
    HarmonicSeries s;
    s.harmonics.reserve(static_cast<std::size_t>(std::max(top, 1)));
    switch (wave) {
    case TTGWave::tgSine:
        s.harmonics.push_back({1, 1.0, false});
        return s;
    case TTGWave::tgSquare:
        // -sum of sin(k theta) / k over odd k: -1 in the first half.
        for (int k = 1; k <= top; k += 2)
            s.harmonics.push_back({k, -1.0 / k, false});
        break;
    case TTGWave::tgTriangle:
        // -sum of cos(k theta) / k^2 over odd k: lowest at phase 0.
        for (int k = 1; k <= top; k += 2)
            s.harmonics.push_back({k, -1.0 / (double(k) * k), true});
        break;
    case TTGWave::tgSawtooth:
        // -sum of sin(k theta) / k: from -1 just after phase 0 up to +1.
        for (int k = 1; k <= top; ++k)
            s.harmonics.push_back({k, -1.0 / k, false});
        break;
    default:
        return s; // noise
    }
    if (s.harmonics.empty())
        return s;
    // Where the band-limited waveform is farthest from 0 (its odd symmetry
    // makes the other extreme equal): the triangle at phase 0; the square
    // and sawtooth at the first ripple after the jump, where the sum of
    // their derivatives' cosines first vanishes, pi / (2 x the number of odd
    // harmonics) and pi / (K + 1).
    const auto count = static_cast<double>(s.harmonics.size());
    const double theta = wave == TTGWave::tgTriangle ? 0.0
                         : wave == TTGWave::tgSquare ? kPi / (2 * count)
                                                     : kPi / (count + 1);
    const double peak = std::fabs(SeriesValue(s, theta));
    for (Harmonic& h : s.harmonics)
        h.amplitude /= peak;
    return s;
}
