// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/TaylorCycle.h"

#include "engine/FftwTransforms.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr long double kPiExtended = 3.141592653589793238462643383279502884L;
constexpr double kDropped = 1e-13;
constexpr std::size_t kLongestPolynomial = 30;
// Below this many values a table is small whatever its shape: the one of
// fewest terms is taken, for the cheapest evaluation.
constexpr std::uint64_t kSmallTable = 32768;
// Tables up to this much larger than the smallest are taken for fewer
// terms.
constexpr double kRoomForFewerTerms = 1.25;
// The fewest points kept: rows of whole blocks of 16 values keep the
// storage's alignment for the transforms that write them.
constexpr std::uint64_t kFewestKept = 16;

using Moments = std::array<double, kLongestPolynomial + 1>;

// m_n = sum over the harmonics of |a| (k / top)^n, n = 0 .. longest: the
// term n of the Taylor polynomial at half a step of h radians is at most
// m_n (top h)^n / n!, and the rest after it no more than that too
// (Lagrange's remainder).
Moments MomentsOf(const HarmonicSeries& series, int top) {
    const std::size_t count = series.harmonics.size();
    std::vector<double> power(count), ratio(count);
    for (std::size_t i = 0; i < count; ++i) {
        power[i] = std::fabs(series.harmonics[i].amplitude);
        ratio[i] = double(series.harmonics[i].number) / top;
    }
    Moments moments{};
    for (std::size_t n = 0; n <= kLongestPolynomial; ++n) {
        // Four sums side by side, so that the loop is not one long chain.
        double sums[4] = {0, 0, 0, 0};
        for (std::size_t i = 0; i < count; ++i) {
            if (n > 0)
                power[i] *= ratio[i];
            sums[i & 3] += power[i];
        }
        moments[n] = sums[0] + sums[1] + sums[2] + sums[3];
    }
    return moments;
}

// The terms a table of `points` points a cycle needs, or 0 when even the
// longest polynomial drops too much.
std::size_t TermsFor(std::uint64_t points, int top, const Moments& moments) {
    const double x = top * kPi / double(points); // the top harmonic's half step
    double power = 1;                            // x^n / n!
    for (std::size_t n = 1; n <= kLongestPolynomial; ++n) {
        power *= x / double(n);
        if (moments[n] * power <= kDropped)
            return n;
    }
    return 0;
}

// The derivative by theta, times `scale`: a sin k theta gives a k cos k
// theta, a cos k theta gives -a k sin k theta.
void Differentiate(HarmonicSeries& series, double scale) {
    for (Harmonic& h : series.harmonics) {
        h.amplitude *= h.number * scale * (h.cosine ? -1 : 1);
        h.cosine = !h.cosine;
    }
}

} // namespace

TaylorCycle::TaylorCycle(const HarmonicSeries& series) {
    int top = 0;
    bool sines = true, cosines = true, odd = true;
    for (const Harmonic& h : series.harmonics) {
        top = std::max(top, h.number);
        sines = sines && !h.cosine;
        cosines = cosines && h.cosine;
        odd = odd && h.number % 2 == 1;
    }
    if (top == 0) {
        terms_ = AllocateAligned(1);
        terms_[0] = 0;
        return;
    }
    const bool mirrors = sines || cosines;
    const std::uint64_t share = !mirrors ? 1 : odd ? 4 : 2; // of the points kept
    // The transforms hold the top harmonic below half the points. The table
    // of fewest values, then the one of fewest terms near it; at eight
    // times the fewest points the top harmonic turns by at most pi / 16 in
    // half a step, so a few terms always do.
    const Moments moments = MomentsOf(series, top);
    std::uint64_t lowest = kFewestKept;
    while (lowest * share < 2 * std::uint64_t(top) + 2)
        lowest *= 2;
    std::vector<std::pair<std::uint64_t, std::size_t>> shapes; // kept, terms
    std::uint64_t smallest = 0;
    for (std::uint64_t kept = lowest; kept <= 8 * lowest; kept *= 2) {
        const std::size_t terms = TermsFor(kept * share, top, moments);
        if (terms == 0)
            continue;
        shapes.emplace_back(kept, terms);
        if (smallest == 0 || kept * terms < smallest)
            smallest = kept * terms;
    }
    const auto room =
        std::max(kSmallTable, static_cast<std::uint64_t>(double(smallest) * kRoomForFewerTerms));
    kept_ = 8 * lowest; // should a series of vast amplitudes need more
    order_ = kLongestPolynomial;
    for (const auto& [kept, terms] : shapes)
        if (kept * terms <= room && (terms < order_ || (terms == order_ && kept < kept_))) {
            kept_ = kept;
            order_ = terms;
        }
    points_ = kept_ * share;
    terms_ = AllocateAligned(kept_ * order_);
    if (!mirrors)
        BuildWhole(series);
    else if (odd)
        BuildQuarter(series);
    else
        BuildHalf(series);
}

// Odd harmonics alone: sin(k theta) is unchanged by theta -> pi - theta and
// cos(k theta) changes sign. Point j of the first quarter, theta = (j +
// 1/2) pi / (2 kept), takes harmonic 2m + 1 as the fourth sine and cosine
// transforms do: 2 x sum of X_m sin(pi (m + 1/2)(j + 1/2) / kept).
void TaylorCycle::BuildQuarter(const HarmonicSeries& series) {
    halfWave_ = true;
    mirrorSign_ = series.harmonics.front().cosine ? -1 : 1;
    AlignedValues in = AllocateAligned(kept_);
    HarmonicSeries term = series;
    const double halfStep = kPi / double(points_);
    for (std::size_t n = 0; n < order_; ++n) {
        if (n > 0)
            Differentiate(term, halfStep / double(n));
        std::memset(in.get(), 0, kept_ * sizeof(double));
        for (const Harmonic& h : term.harmonics)
            in[std::size_t(h.number / 2)] += h.amplitude / 2;
        RealToRealTransform(static_cast<int>(kept_),
                            term.harmonics.front().cosine ? FFTW_REDFT11 : FFTW_RODFT11, in.get(),
                            terms_.get() + n * kept_);
    }
}

// Sines alone are odd about phase 0, cosines alone even. Point j of the
// first half, theta = (j + 1/2) pi / kept, takes harmonic m as the third
// sine and cosine transforms do, from X_(m-1) = a / 2 (sines) or X_m = a / 2
// (cosines); see HalfCycle for how longer ones are split.
void TaylorCycle::BuildHalf(const HarmonicSeries& series) {
    mirrorSign_ = series.harmonics.front().cosine ? 1 : -1;
    AlignedValues in = AllocateAligned(kept_);
    AlignedValues scratch = AllocateAligned(2 * kept_);
    HarmonicSeries term = series;
    const double halfStep = kPi / double(points_);
    for (std::size_t n = 0; n < order_; ++n) {
        if (n > 0)
            Differentiate(term, halfStep / double(n));
        const bool cosine = term.harmonics.front().cosine;
        std::memset(in.get(), 0, kept_ * sizeof(double));
        for (const Harmonic& h : term.harmonics)
            in[std::size_t(cosine ? h.number : h.number - 1)] += h.amplitude / 2;
        HalfCycle(cosine, kept_, in.get(), terms_.get() + n * kept_, scratch.get());
    }
}

// The third transforms take twice as long as the fourth ones, so a long
// series is split: its odd harmonics are a quarter-wave series (the fourth
// transform of half the length gives the first quarter of the cycle, which
// mirrors into the second), its even ones at theta are a series of half the
// harmonics at 2 theta, whose points are this one's (j + 1/2) pi / (length /
// 2), the second quarter mirrored from the first.
void TaylorCycle::HalfCycle(bool cosine, std::uint64_t length, double* in, double* out,
                            double* scratch) {
    if (length <= 256) {
        RealToRealTransform(static_cast<int>(length), cosine ? FFTW_REDFT01 : FFTW_RODFT01, in,
                            out);
        return;
    }
    const std::uint64_t half = length / 2;
    double* odd = scratch;
    double* even = scratch + half;
    // Harmonic 2i + 1 at X_i of the fourth transform, and harmonic 2i at
    // the shorter series' place for harmonic i.
    for (std::uint64_t i = 0; i < half; ++i) {
        odd[i] = cosine ? in[2 * i + 1] : in[2 * i];
        even[i] = cosine ? in[2 * i] : (i + 1 < half ? in[2 * i + 1] : 0);
    }
    // `in` is free now: the odd part's values go to its first half, the
    // even part's to the second.
    RealToRealTransform(static_cast<int>(half), cosine ? FFTW_REDFT11 : FFTW_RODFT11, odd, in);
    HalfCycle(cosine, half, even, in + half, scratch);
    const double oddMirror = cosine ? -1 : 1, evenMirror = cosine ? 1 : -1;
    for (std::uint64_t j = 0; j < half; ++j) {
        out[j] = in[j] + in[half + j];
        out[length - 1 - j] = oddMirror * in[j] + evenMirror * in[half + j];
    }
}

// Any other series: the whole cycle by an inverse real transform, each
// harmonic turned on by half a step so that point j falls at (j + 1/2)
// steps.
void TaylorCycle::BuildWhole(const HarmonicSeries& series) {
    const int length = static_cast<int>(points_);
    const int top = (length - 1) / 2;
    std::vector<double> turnCos(std::size_t(top) + 1), turnSin(std::size_t(top) + 1);
    for (int k = 1; k <= top; ++k) {
        const long double angle = kPiExtended * k / length;
        turnCos[std::size_t(k)] = static_cast<double>(std::cos(angle));
        turnSin[std::size_t(k)] = static_cast<double>(std::sin(angle));
    }
    ComplexBuffer bins = AllocateComplex(points_ / 2 + 1);
    HarmonicSeries term = series;
    const double halfStep = kPi / double(points_);
    for (std::size_t n = 0; n < order_; ++n) {
        if (n > 0)
            Differentiate(term, halfStep / double(n));
        SeriesBins(term, length, bins.get());
        for (int k = 1; k <= top; ++k) {
            const double re = bins[k][0], im = bins[k][1];
            bins[k][0] = re * turnCos[std::size_t(k)] - im * turnSin[std::size_t(k)];
            bins[k][1] = re * turnSin[std::size_t(k)] + im * turnCos[std::size_t(k)];
        }
        InverseRealTransform(length, bins.get(), terms_.get() + n * kept_);
    }
}
