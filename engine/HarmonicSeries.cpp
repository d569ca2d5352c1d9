#include "engine/HarmonicSeries.h"

#include <cmath>
#include <complex>

namespace {

constexpr long double kPi = 3.141592653589793238462643383279503L;

// The highest k with k * frequency below half the rate.
int HighestHarmonic(int frequency, int rate) {
    return static_cast<int>((static_cast<long>(rate) - 1) / (2L * frequency));
}

} // namespace

long double SeriesValue(const HarmonicSeries& series, long double theta) {
    // e^(i k theta) by repeated rotation: one sine and cosine for the whole
    // series; the rounding grows only linearly with k.
    const std::complex<long double> turn(std::cos(theta), std::sin(theta));
    std::complex<long double> at(1, 0);
    int k = 0;
    long double sum = 0;
    for (const Harmonic& h : series.harmonics) {
        for (; k < h.number; ++k)
            at *= turn;
        sum += h.amplitude * (h.cosine ? at.real() : at.imag());
    }
    return sum;
}

HarmonicSeries BandLimitedSeries(TTGWave wave, int frequency, int rate) {
    HarmonicSeries s;
    if (frequency <= 0 || rate <= 0)
        return s;
    const int top = HighestHarmonic(frequency, rate);
    switch (wave) {
    case TTGWave::tgSine:
        s.harmonics.push_back({1, 1.0L, false});
        s.peak = 1;
        return s;
    case TTGWave::tgSquare:
        // -sum of sin(k theta) / k over odd k: -1 in the first half.
        for (int k = 1; k <= top; k += 2)
            s.harmonics.push_back({k, -1.0L / k, false});
        break;
    case TTGWave::tgTriangle:
        // -sum of cos(k theta) / k^2 over odd k: lowest at phase 0.
        for (int k = 1; k <= top; k += 2)
            s.harmonics.push_back({k, -1.0L / (static_cast<long double>(k) * k), true});
        break;
    case TTGWave::tgSawtooth:
        // -sum of sin(k theta) / k: from -1 just after phase 0 up to +1.
        for (int k = 1; k <= top; ++k)
            s.harmonics.push_back({k, -1.0L / k, false});
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
    const auto count = static_cast<long double>(s.harmonics.size());
    const long double theta = wave == TTGWave::tgTriangle ? 0.0L
                              : wave == TTGWave::tgSquare ? kPi / (2 * count)
                                                          : kPi / (count + 1);
    s.peak = std::fabs(SeriesValue(s, theta));
    return s;
}
