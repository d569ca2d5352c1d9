// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ChannelTone.h"

#include "engine/ExtendedPi.h"
#include "engine/FourierCycle.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kTenthsPerCycle = 3600;

// sin and cos of k times a lag in tenths of a degree, reduced to one cycle
// first so that high harmonics lose nothing.
void LagOf(long k, int lagTenths, long double& s, long double& c) {
    const long tenths = k * lagTenths % kTenthsPerCycle;
    const long double angle = kTwoPiExtended * tenths / kTenthsPerCycle;
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
    cyclesAtChange_ = cycles_;
    framesSinceChange_ = 0;
    Prepare(frequency);
}

// The phase and the cycles counted are both whole numbers of the frames
// since the last change: going back recomputes them exactly.
std::uint64_t ChannelTone::StepBack(std::uint64_t frames) {
    const std::uint64_t back = std::min(frames, framesSinceChange_);
    framesSinceChange_ -= back;
    phase_.StepBack(back);
    cycles_ = cyclesAtChange_ + phase_.CyclesAfter(framesSinceChange_);
    return back;
}

void ChannelTone::Prepare(MilliHertz frequency) {
    cycle_.clear();
    taylor_.reset();
    if (wave_ == TTGWave::tgSine || frequency.value <= 0)
        return;
    // The highest k with k f below half the rate.
    const std::uint64_t units = phase_.UnitsPerCycle();
    const auto top = static_cast<int>((units - 1) / (2 * std::uint64_t(frequency.value)));
    HarmonicSeries series = SeriesUpTo(wave_, top);
    if (series.Empty())
        return;
    const std::uint64_t q = phase_.Denominator();
    if (lagTenths_ == 0 && q <= kLargestCycle && phase_.StartsOnIndexGrid()) {
        cycle_ = FourierCycle(series, static_cast<int>(q));
        return;
    }
    if (lagTenths_ != 0) {
        // a sin(k (theta - lag)) and a cos(k (theta - lag)), opened up into
        // a sine and a cosine of k theta each.
        HarmonicSeries lagged;
        for (const Harmonic& h : series.harmonics) {
            long double s = 0, c = 1;
            LagOf(h.number, lagTenths_, s, c);
            const double a = h.amplitude, as = double(a * s), ac = double(a * c);
            lagged.harmonics.push_back({h.number, ac, h.cosine});
            lagged.harmonics.push_back({h.number, h.cosine ? as : -as, !h.cosine});
        }
        series = std::move(lagged);
    }
    taylor_ = std::make_unique<const TaylorCycle>(series);
}

long double ChannelTone::Next() {
    long double v = 0;
    const std::uint64_t u = phase_.Units();
    if (wave_ == TTGWave::tgSine) {
        v = lagTenths_ == 0 ? sine_.Sin(u) : sine_.Sin(u) * lagCos_ - sine_.Cos(u) * lagSin_;
    } else if (!cycle_.empty()) {
        std::uint64_t i = phase_.StartIndex() + phase_.Index();
        if (i >= cycle_.size())
            i -= cycle_.size();
        v = cycle_[i];
    } else if (taylor_) {
        v = taylor_->At(u, phase_.UnitsPerCycle());
    }
    phase_.Advance();
    ++framesSinceChange_;
    // Below half a cycle a frame, the phase falls back only when it passes
    // the end of a cycle.
    if (phase_.Units() < u)
        ++cycles_;
    return v;
}
