// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ChannelTone.h"

#include "engine/ExtendedPi.h"
#include "engine/FourierCycle.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr int kTenthsPerCycle = 3600;

// The sine that lags by `lagTenths` tenths of a degree, the lag reduced to
// one cycle first.
BlockSine LaggingSine(const FinePhaseSine& sine, int lagTenths) {
    const long tenths = lagTenths % kTenthsPerCycle;
    const long double angle = kTwoPiExtended * tenths / kTenthsPerCycle;
    return BlockSine(sine, std::sin(angle), std::cos(angle));
}

} // namespace

ChannelTone::ChannelTone(TTGWave wave, MilliHertz frequency, int lagTenths,
                         const FinePhaseSine& sine)
    : wave_(wave), lagTenths_(lagTenths), phase_(frequency, sine.Rate()),
      blockSine_(LaggingSine(sine, lagTenths)) {
    const std::uint64_t tenths = std::uint64_t(lagTenths_ % kTenthsPerCycle + kTenthsPerCycle);
    lagShift_ =
        (kTenthsPerCycle - tenths % kTenthsPerCycle) % kTenthsPerCycle * phase_.UnitsPerCycle();
    Prepare(frequency);
    Changed();
}

void ChannelTone::SetFrequency(MilliHertz frequency) {
    phase_.SetFrequency(frequency);
    Changed();
    Prepare(frequency);
}

void ChannelTone::SetFrequency(MilliHertz frequency, Tables& tables) {
    phase_.SetFrequency(frequency);
    Changed();
    std::swap(cycle_, tables.cycle);
    std::swap(taylor_, tables.taylor);
}

void ChannelTone::TakeOver(Tables& tables, std::uint64_t fadeFrames) {
    std::swap(cycle_, tables.cycle);
    std::swap(taylor_, tables.taylor);
    formerTaylor_ = tables.taylor.get();
    takeoverFrame_ = framesSinceChange_;
    fadeFrames_ = fadeFrames;
}

void ChannelTone::Changed() {
    formerTaylor_ = nullptr;
    cyclesAtChange_ = cycles_;
    framesSinceChange_ = 0;
    heldBlock_ = kNoBlock;
    if (wave_ == TTGWave::tgSine)
        blockSine_.SetStep(phase_.UnitsPerFrame());
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

ChannelTone::Tables ChannelTone::RetuneTables(TTGWave wave, MilliHertz frequency, int rate) {
    // The phase the change starts from is not known yet: a Taylor
    // polynomial holds at any.
    return MakeTables(wave, frequency, StreamPhase(frequency, rate), false);
}

int ChannelTone::TopHarmonic(MilliHertz frequency, int rate) {
    if (frequency.value <= 0)
        return 0;
    // The highest k with k f below half the rate.
    const std::uint64_t units = 1000 * std::uint64_t(rate);
    return static_cast<int>((units - 1) / (2 * std::uint64_t(frequency.value)));
}

ChannelTone::Tables ChannelTone::TablesUpTo(TTGWave wave, int top) {
    Tables tables;
    if (wave == TTGWave::tgSine)
        return tables;
    const HarmonicSeries series = SeriesUpTo(wave, top);
    if (!series.Empty())
        tables.taylor = std::make_shared<const TaylorCycle>(series);
    return tables;
}

void ChannelTone::Prepare(MilliHertz frequency) {
    Tables tables = MakeTables(wave_, frequency, phase_, lagTenths_ == 0);
    cycle_ = std::move(tables.cycle);
    taylor_ = std::move(tables.taylor);
}

ChannelTone::Tables ChannelTone::MakeTables(TTGWave wave, MilliHertz frequency,
                                            const StreamPhase& phase, bool exactCycle) {
    Tables tables;
    if (wave == TTGWave::tgSine || frequency.value <= 0)
        return tables;
    // A cycle is 1000 units a sample: the phase's cycle gives the rate.
    const HarmonicSeries series =
        SeriesUpTo(wave, TopHarmonic(frequency, int(phase.UnitsPerCycle() / 1000)));
    if (series.Empty())
        return tables;
    const std::uint64_t q = phase.Denominator();
    if (exactCycle && q <= kLargestCycle && phase.StartsOnIndexGrid()) {
        tables.cycle = FourierCycle(series, static_cast<int>(q));
        return tables;
    }
    tables.taylor = std::make_shared<const TaylorCycle>(series);
    return tables;
}

long double ChannelTone::Next() {
    if (wave_ == TTGWave::tgSine) {
        double v = 0;
        RenderSine(1, &v);
        return v;
    }
    return NextOfShape();
}

void ChannelTone::Render(std::size_t frames, double* out) {
    if (wave_ == TTGWave::tgSine) {
        RenderSine(frames, out);
        return;
    }
    for (std::size_t i = 0; i < frames; ++i)
        out[i] = static_cast<double>(NextOfShape());
}

void ChannelTone::RenderSine(std::size_t frames, double* out) {
    constexpr std::size_t kBlock = BlockSine::kBlockFrames;
    const std::uint64_t units = phase_.UnitsPerCycle();
    const std::uint64_t step = phase_.UnitsPerFrame();
    while (frames > 0) {
        const std::uint64_t block = framesSinceChange_ / kBlock;
        const auto at = static_cast<std::size_t>(framesSinceChange_ % kBlock);
        const std::size_t n = std::min(frames, kBlock - at);
        const std::uint64_t u = phase_.Units();
        if (n == kBlock) {
            blockSine_.Fill(u, kBlock, out);
        } else {
            // Part of a block: the whole block from its first frame, kept
            // for the rest of it.
            if (heldBlock_ != block) {
                StreamPhase first = phase_;
                first.StepBack(at);
                blockSine_.Fill(first.Units(), kBlock, block_.data());
                heldBlock_ = block;
            }
            std::copy_n(block_.data() + at, n, out);
        }
        // One cycle ends at each wrap of the phase (a step is below a
        // cycle).
        cycles_ += (u + n * step) / units;
        phase_.Advance(n);
        framesSinceChange_ += n;
        out += n;
        frames -= n;
    }
}

double ChannelTone::TaylorAt(const TaylorCycle& taylor, std::uint64_t u) const {
    const std::uint64_t units = phase_.UnitsPerCycle();
    if (lagShift_ == 0)
        return taylor.At(u, units);
    // theta - lag, in whole 1 / 3600 units: exact.
    const std::uint64_t whole = kTenthsPerCycle * units;
    const std::uint64_t lagged = kTenthsPerCycle * u + lagShift_;
    return taylor.At(lagged >= whole ? lagged - whole : lagged, whole);
}

long double ChannelTone::NextOfShape() {
    long double v = 0;
    const std::uint64_t u = phase_.Units();
    if (!cycle_.empty()) {
        std::uint64_t i = phase_.StartIndex() + phase_.Index();
        if (i >= cycle_.size())
            i -= cycle_.size();
        v = cycle_[i];
    } else if (taylor_) {
        v = TaylorAt(*taylor_, u);
        if (formerTaylor_ && framesSinceChange_ < takeoverFrame_ + fadeFrames_) {
            // Frame n of the fade weighs the new tables by (n + 1) / (F +
            // 1); frames before the takeover read the former ones alone.
            const double former = TaylorAt(*formerTaylor_, u);
            const double weight =
                framesSinceChange_ < takeoverFrame_
                    ? 0.0
                    : double(framesSinceChange_ - takeoverFrame_ + 1) / double(fadeFrames_ + 1);
            v = former + weight * (static_cast<double>(v) - former);
        }
    }
    phase_.Advance();
    ++framesSinceChange_;
    // Below half a cycle a frame, the phase falls back only when it passes
    // the end of a cycle.
    if (phase_.Units() < u)
        ++cycles_;
    return v;
}
