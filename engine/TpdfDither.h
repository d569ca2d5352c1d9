// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Triangular dither of 2 steps peak to peak: the sum of two independent
// uniform values, added before a sample is rounded so that the rounding
// error becomes noise instead of harmonics of the tone. The sequence comes
// from a fixed seed, so a build with dither gives the same bytes each time.

#include <cstdint>
#include <random>

class TpdfDither {
public:
    explicit TpdfDither(std::uint32_t seed = 1) : rng_(seed) {}

    // A value from -1 to 1 step, triangular around 0.
    double Next() { return Uniform() + Uniform() - 1.0; }

private:
    // mt19937's sequence is fixed by the standard, unlike the library's
    // distributions, so the conversion is done here.
    double Uniform() { return double(rng_()) * (1.0 / 4294967296.0); }

    std::mt19937 rng_;
};
