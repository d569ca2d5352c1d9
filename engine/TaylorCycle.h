// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A band-limited periodic waveform at any phase, at the cost of a short
// polynomial: the waveform and its derivatives are tabulated at L evenly
// spaced points of the cycle (each table one inverse FFT of the series,
// exact to double precision), and the value at a phase is the Taylor
// polynomial from the nearest point. L and the number of terms follow from
// the highest harmonic, so that the dropped terms stay below 1e-13 of the
// peak: far below the finest step of any sample format.
//
// It serves the tones whose exact cycle is too long to keep (a decimal
// frequency with a grid of millions of points); the phase itself stays the
// exact fraction the caller carries.

#include "engine/HarmonicSeries.h"

#include <cstdint>
#include <vector>

class TaylorCycle {
public:
    // May throw std::bad_alloc (tens of MB for the longest series).
    explicit TaylorCycle(const HarmonicSeries& series);

    // The waveform at phase u / units of a cycle (u below units; units x
    // Points() below 2^63).
    double At(std::uint64_t u, std::uint64_t units) const {
        // The nearest point j and the distance to it in half steps, -1..1:
        // whole numbers up to the last division.
        const std::uint64_t scaled = u * points_;
        const std::uint64_t j = (2 * scaled + units) / (2 * units);
        const auto rest = static_cast<std::int64_t>(scaled) - static_cast<std::int64_t>(j * units);
        const double t = 2 * double(rest) / double(units);
        const double* c = &terms_[(j == points_ ? 0 : j) * order_];
        double v = c[order_ - 1];
        for (std::size_t n = order_ - 1; n-- > 0;)
            v = v * t + c[n];
        return v;
    }

    std::uint64_t Points() const { return points_; }
    std::size_t Order() const { return order_; }

private:
    std::uint64_t points_ = 1;
    std::size_t order_ = 1;
    // Point j's terms n = 0 .. order - 1 side by side: the n-th derivative
    // times (half a step)^n / n!.
    std::vector<double> terms_;
};
