// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A band-limited periodic waveform at any phase, at the cost of a short
// polynomial: the waveform and its derivatives are tabulated at L evenly
// spaced points of the cycle, each half a step past a multiple of the step
// (each table one fast transform of the series, exact to double precision),
// and the value at a phase is the Taylor polynomial from the nearest point.
// L and the number of terms are chosen together, for the fewest values in
// all, so that the dropped terms stay below 1e-13 of the peak: far below the
// finest step of any sample format.
//
// A series of sines alone or of cosines alone is odd or even about phase 0,
// and one of odd harmonics alone also changes sign over half a cycle: the
// tables then keep only the half or the quarter of the cycle the rest
// mirrors, computed by a sine or cosine transform of that length.
//
// It serves the tones whose exact cycle is too long to keep (a decimal
// frequency with a grid of millions of points); the phase itself stays the
// exact fraction the caller carries.

#include "engine/AlignedValues.h"
#include "engine/HarmonicSeries.h"

#include <cstdint>

class TaylorCycle {
public:
    // May throw std::bad_alloc (a few MB for the longest series).
    explicit TaylorCycle(const HarmonicSeries& series);

    // The waveform at phase u / units of a cycle (u below units; units x
    // Points() below 2^62).
    double At(std::uint64_t u, std::uint64_t units) const {
        // The nearest point j, whose centre is (j + 1/2) units / L, and the
        // distance to it in half steps, -1..1: whole numbers up to the last
        // division.
        const std::uint64_t scaled = u * points_;
        std::uint64_t j = scaled / units;
        const auto rest =
            static_cast<std::int64_t>(2 * scaled) - static_cast<std::int64_t>((2 * j + 1) * units);
        double t = double(rest) / double(units);
        double sign = 1;
        if (halfWave_ && 2 * j >= points_) {
            j -= points_ / 2;
            sign = -1;
        }
        if (j >= kept_) {
            j = 2 * kept_ - 1 - j;
            t = -t;
            sign *= mirrorSign_;
        }
        const double* c = terms_.get() + j;
        std::size_t n = order_ - 1;
        double v = c[n * kept_];
        while (n-- > 0)
            v = v * t + c[n * kept_];
        return sign * v;
    }

    std::uint64_t Points() const { return points_; }
    std::size_t Order() const { return order_; }
    std::size_t Bytes() const { return kept_ * order_ * sizeof(double); }

private:
    void BuildQuarter(const HarmonicSeries& series);
    void BuildHalf(const HarmonicSeries& series);
    void BuildWhole(const HarmonicSeries& series);
    // The values at the first half's points of a series of sines or of
    // cosines, from the third transform's input `in` (`length` values,
    // destroyed) into `out`, with 2 x length values of scratch.
    static void HalfCycle(bool cosine, std::uint64_t length, double* in, double* out,
                          double* scratch);

    std::uint64_t points_ = 1; // L
    std::uint64_t kept_ = 1;   // the points tabulated: L, L / 2 or L / 4
    std::size_t order_ = 1;
    // w(theta + pi) = -w(theta): the second half is the first one negated.
    bool halfWave_ = false;
    // Points from kept_ on mirror those before it (point 2 kept_ - 1 - j is
    // point j reflected), times this sign.
    double mirrorSign_ = 1;
    // Term n of every kept point, a row of kept_ values per term, each term
    // the n-th derivative times (half a step)^n / n!. A row is one
    // transform's output, written in place.
    AlignedValues terms_;
};
