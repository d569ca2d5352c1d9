// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ChannelTone.h"

#include "engine/FourierCycle.h"

#include <cmath>

namespace {

constexpr long double kTwoPi = 6.283185307179586476925286766559L;
constexpr int kTenthsPerCycle = 3600;

// sin and cos of k times a lag in tenths of a degree, reduced to one cycle
// first so that high harmonics lose nothing.
void LagOf(long k, int lagTenths, long double& s, long double& c) {
    const long tenths = k * lagTenths % kTenthsPerCycle;
    const long double angle = kTwoPi * tenths / kTenthsPerCycle;
    s = std::sin(angle);
    c = std::cos(angle);
}

} // namespace

ChannelTone::ChannelTone(TTGWave wave, MilliHertz frequency, int lagTenths,
                         const FinePhaseSine& sine)
    : wave_(wave), lagTenths_(lagTenths), sine_(sine), phase_(frequency, sine.Rate()) {
    LagOf(1, lagTenths_, lagSin_, lagCos_);
    Prepare(frequency);
}

void ChannelTone::SetFrequency(MilliHertz frequency) {
    phase_.SetFrequency(frequency);
    Prepare(frequency);
}

void ChannelTone::Prepare(MilliHertz frequency) {
    terms_.clear();
    cycle_.clear();
    if (wave_ == TTGWave::tgSine || frequency.value <= 0)
        return;
    // The highest k with k f below half the rate.
    const std::uint64_t units = phase_.UnitsPerCycle();
    const auto top = static_cast<int>((units - 1) / (2 * std::uint64_t(frequency.value)));
    const HarmonicSeries series = SeriesUpTo(wave_, top);
    const std::uint64_t q = phase_.Denominator();
    if (lagTenths_ == 0 && q <= kLargestCycle && phase_.StartsOnIndexGrid() && !series.Empty()) {
        cycle_ = FourierCycle(series, static_cast<int>(q));
        return;
    }
    terms_.reserve(series.harmonics.size());
    for (const Harmonic& h : series.harmonics) {
        // a sin(k (theta - lag)) or a cos(k (theta - lag)), opened up.
        long double s = 0, c = 1;
        LagOf(h.number, lagTenths_, s, c);
        const long double a = h.amplitude;
        terms_.push_back(h.cosine ? Term{h.number, a * s, a * c} : Term{h.number, a * c, -a * s});
    }
}

long double ChannelTone::HarmonicSum(std::uint64_t u) const {
    const std::uint64_t units = phase_.UnitsPerCycle();
    const std::uint64_t twice = 2 * u >= units ? 2 * u - units : 2 * u;
    std::uint64_t uk = 0; // k u modulo the units of a cycle
    int k = 0;
    long double sum = 0;
    for (const Term& t : terms_) {
        const int d = t.number - k;
        uk += d == 1 ? u : d == 2 ? twice : std::uint64_t(d) * u % units;
        if (uk >= units)
            uk -= units;
        k = t.number;
        if (t.sinPart != 0)
            sum += t.sinPart * sine_.Sin(uk);
        if (t.cosPart != 0)
            sum += t.cosPart * sine_.Cos(uk);
    }
    return sum;
}

long double ChannelTone::Next() {
    long double v = 0;
    if (wave_ == TTGWave::tgSine) {
        const std::uint64_t u = phase_.Units();
        v = lagTenths_ == 0 ? sine_.Sin(u) : sine_.Sin(u) * lagCos_ - sine_.Cos(u) * lagSin_;
    } else if (!cycle_.empty()) {
        std::uint64_t i = phase_.StartIndex() + phase_.Index();
        if (i >= cycle_.size())
            i -= cycle_.size();
        v = cycle_[i];
    } else if (!terms_.empty()) {
        v = HarmonicSum(phase_.Units());
    }
    phase_.Advance();
    return v;
}
