// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/TaylorCycle.h"

#include "engine/FourierCycle.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDropped = 1e-13;
constexpr std::size_t kLongestPolynomial = 24;

// The derivative by theta, times `scale`: a sin k theta gives a k cos k
// theta, a cos k theta gives -a k sin k theta.
HarmonicSeries Derivative(const HarmonicSeries& series, double scale) {
    HarmonicSeries d = series;
    for (Harmonic& h : d.harmonics) {
        h.amplitude *= h.number * scale * (h.cosine ? -1 : 1);
        h.cosine = !h.cosine;
    }
    return d;
}

} // namespace

TaylorCycle::TaylorCycle(const HarmonicSeries& series) {
    int top = 0;
    double total = 0;
    for (const Harmonic& h : series.harmonics) {
        top = std::max(top, h.number);
        total += std::fabs(h.amplitude);
    }
    if (top == 0) {
        terms_.assign(1, 0.0);
        return;
    }
    // At least a point per radian of the highest harmonic (and the transform
    // holds it below half the points): half a step then turns it by at most
    // x = top pi / L <= 1 radian, and n terms drop about x^n / n! of the
    // amplitudes' sum.
    std::uint64_t points = 64;
    while (double(points) < top * kPi || points <= 2 * std::uint64_t(top))
        points *= 2;
    const double x = top * kPi / double(points);
    std::size_t order = 1;
    for (double dropped = total * x; dropped > kDropped && order < kLongestPolynomial;)
        dropped *= x / double(++order);
    points_ = points;
    order_ = order;
    terms_.assign(points_ * order_, 0.0);
    const double halfStep = kPi / double(points);
    HarmonicSeries term = series;
    for (std::size_t n = 0; n < order_; ++n) {
        if (n > 0)
            term = Derivative(term, halfStep / double(n));
        const std::vector<double> values = FourierCycle(term, static_cast<int>(points_));
        for (std::size_t j = 0; j < points_; ++j)
            terms_[j * order_ + n] = values[j];
    }
}
