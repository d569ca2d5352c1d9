// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A sine streamed block by block at its exact phase, for about two
// operations a frame. Each block of kBlockFrames frames starts from the
// exact sine and cosine of its first frame's whole-number phase
// (FinePhaseSine, extended precision), which give its first 2 kLanes
// values; every later one follows from the two kLanes and 2 kLanes frames
// before it by the recurrence sin(a + d) = 2 cos(d) sin(a) - sin(a - d),
// with d the exact phase of kLanes frames. Each lane of the block takes at
// most kBlockFrames / kLanes steps, and the error of m steps stays below
// m^2 / 2 roundings of double (some 1e-13 of the peak), far below the finest
// step of any sample format; the next block starts exact again, so the error
// never grows with the time played.
//
// Frames kLanes apart, rather than neighbours, so that the compiler does
// several of them side by side in vector registers: none waits on the one
// just before it.
//
// The same phase always gives the same values, whatever part of the block
// is asked for: a stream that renders in other pieces, or goes back and
// renders again, gets the same samples bit for bit.

#include "engine/FinePhaseSine.h"

#include <array>
#include <cstddef>
#include <cstdint>

class BlockSine {
public:
    static constexpr std::size_t kLanes = 8;
    // Frames from one exact value to the next.
    static constexpr std::size_t kBlockFrames = 256;
    static_assert(kBlockFrames % kLanes == 0);

    // The sine lags by the angle whose sine and cosine are given. `sine`
    // must outlive this.
    BlockSine(const FinePhaseSine& sine, long double lagSin, long double lagCos);

    // The phase moves on `unitsPerFrame` of 1 / (1000 rate) of a cycle each
    // frame (below a whole cycle).
    void SetStep(std::uint64_t unitsPerFrame);

    // The first `frames` (at most kBlockFrames) values of the block whose
    // first frame stands at `units` (below 1000 rate): sin(2 pi phase - lag).
    void Fill(std::uint64_t units, std::size_t frames, double* out) const;

private:
    static constexpr std::size_t kHead = 2 * kLanes;

    const FinePhaseSine& sine_;
    long double lagSin_;
    long double lagCos_;
    // The phases of the block's first frames from its start: j steps,
    // exactly.
    std::array<long double, kHead> headSin_{};
    std::array<long double, kHead> headCos_{};
    // 2 cos(d), d the phase of kLanes frames.
    double twoCos_ = 2;
};
