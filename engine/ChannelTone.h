// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One channel of a streamed steady tone: the sine, or the square, triangle
// or sawtooth with their harmonics below half the rate, at the exact phase
// a StreamPhase carries, with peaks of 1. The sine comes in blocks that each
// start from the exact phase in extended precision (BlockSine).
//
// The shapes read one exact cycle, summed once by inverse FFT on the
// phase's own grid of q points, when that grid is small enough to keep (every
// whole-hertz tone and most short decimals); otherwise a Taylor polynomial
// from the nearest point of a tabulated cycle (TaylorCycle), which a lag
// reads at the lagging phase, so that it serves any lag.

#include "engine/BlockSine.h"
#include "engine/FinePhaseSine.h"
#include "engine/HarmonicSeries.h"
#include "engine/MilliHertz.h"
#include "engine/StreamPhase.h"
#include "engine/TaylorCycle.h"
#include "engine/ToneGenTypes.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class ChannelTone {
public:
    // The largest cycle kept as a table: 8 MB of doubles.
    static constexpr std::uint64_t kLargestCycle = std::uint64_t(1) << 20;

    // `lagTenths`: the tone lags by this many tenths of a degree. `sine`
    // must be for the same rate and outlive the tone.
    ChannelTone(TTGWave wave, MilliHertz frequency, int lagTenths, const FinePhaseSine& sine);

    // What a shape reads its cycle from (nothing for a sine).
    struct Tables {
        std::vector<double> cycle; // one exact cycle on the phase's q points
        // Shared by the channels of one frequency; never the last owner
        // in a feed that swaps it.
        std::shared_ptr<const TaylorCycle> taylor;
    };
    // The tables of a shape retuned while it streams, built ahead by the
    // controlling thread (they allocate: may throw std::bad_alloc). They
    // hold at any phase the change finds, and at any lag.
    static Tables RetuneTables(TTGWave wave, MilliHertz frequency, int rate);
    // The highest harmonic below half the rate: the tables of a frequency
    // depend on it alone.
    static int TopHarmonic(MilliHertz frequency, int rate);
    // The tables of the series up to harmonic `top`, as RetuneTables makes
    // them: exact for every frequency of that top harmonic, and free of
    // aliases for every lower top.
    static Tables TablesUpTo(TTGWave wave, int top);

    // The value at the current phase; the phase then moves on a frame.
    long double Next();
    // The values of the next `frames` frames, as many Next() calls would
    // give them (a sine's in blocks from its exact phase, which is cheaper).
    void Render(std::size_t frames, double* out);
    // Continues from the phase reached at the new frequency. Allocates
    // (a shape's new cycle): not for a feeding callback.
    void SetFrequency(MilliHertz frequency);
    // The same with the tables RetuneTables made for that frequency,
    // swapped in: `tables` gets the old ones back. Takes no lock and
    // allocates nothing.
    void SetFrequency(MilliHertz frequency, Tables& tables);
    // Exact tables for the frequency that plays take over from the ones it
    // plays, at the same phase, by a straight crossfade of `fadeFrames`
    // frames. The old tables go back in `tables`, which must be kept until
    // the next SetFrequency or TakeOver (frames stepped back to before the
    // takeover still read them). No lock, no allocation.
    void TakeOver(Tables& tables, std::uint64_t fadeFrames);

    // Goes back up to `frames` frames, never past the last change of
    // frequency: Next() gives those frames again. Returns the frames gone
    // back.
    std::uint64_t StepBack(std::uint64_t frames);

    const StreamPhase& Phase() const { return phase_; }
    // Whole cycles completed before the frame Next() gives now.
    std::uint64_t Cycles() const { return cycles_; }
    // A shape read through a Taylor polynomial rather than its exact cycle.
    bool Interpolates() const { return taylor_ != nullptr; }
    const std::shared_ptr<const TaylorCycle>& Taylor() const { return taylor_; }

private:
    // The tables for `frequency` on `phase`; an exact cycle only where
    // `exactCycle` allows it and the phase starts on its grid.
    static Tables MakeTables(TTGWave wave, MilliHertz frequency, const StreamPhase& phase,
                             bool exactCycle);
    void Prepare(MilliHertz frequency);
    void Changed();
    long double NextOfShape();
    double TaylorAt(const TaylorCycle& taylor, std::uint64_t u) const;
    void RenderSine(std::size_t frames, double* out);

    TTGWave wave_;
    int lagTenths_;
    StreamPhase phase_;
    // A sine's values come in blocks counted from the last change of
    // frequency; the block a render ended in is kept for the next one.
    BlockSine blockSine_;
    static constexpr std::uint64_t kNoBlock = ~std::uint64_t(0);
    std::uint64_t heldBlock_ = kNoBlock;
    std::array<double, BlockSine::kBlockFrames> block_{};
    std::vector<double> cycle_; // one exact cycle on the phase's q points
    std::shared_ptr<const TaylorCycle> taylor_;
    // The tables taken over from (owned by the caller), read before the
    // takeover and faded out after it.
    const TaylorCycle* formerTaylor_ = nullptr;
    std::uint64_t takeoverFrame_ = 0; // framesSinceChange_ at the takeover
    std::uint64_t fadeFrames_ = 0;
    // The lag read from a TaylorCycle: the phase in 1 / 3600 of the
    // phase's units, moved on by this many of them.
    std::uint64_t lagShift_ = 0;
    std::uint64_t cycles_ = 0;
    std::uint64_t cyclesAtChange_ = 0; // cycles_ at the last change of frequency
    std::uint64_t framesSinceChange_ = 0;
};
