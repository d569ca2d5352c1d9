// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A sine streamed block by block at its exact phase, at a cost of a few
// multiplications a frame. Each block of kBlockFrames frames starts from the
// exact sine and cosine of its first frame's whole-number phase
// (FinePhaseSine, extended precision); inside the block the phase advances by
// rotating a complex value by the frame's exact step, rounded to double.
// Each rotation adds about an ulp of double, so a block's last frame lies
// within some 1e-14 of the exact value, and the next block starts exact
// again: the error never grows with the time played.
//
// The block is walked as kLanes interleaved rotations (frames l, l + kLanes,
// l + 2 kLanes, ...) that each turn by kLanes steps at once, so that the
// compiler does them side by side in vector registers instead of waiting on
// one chain of products.
//
// The same phase always gives the same values, whatever part of the block
// is asked for: a stream that renders in other pieces, or goes back and
// renders again, gets the same samples bit for bit.

#include "engine/FinePhaseSine.h"

#include <array>
#include <cstddef>
#include <cstdint>

class RotatingSine {
public:
    static constexpr std::size_t kLanes = 8;
    // Frames from one exact value to the next.
    static constexpr std::size_t kBlockFrames = 256;
    static_assert(kBlockFrames % kLanes == 0);

    // The sine lags by the angle whose sine and cosine are given. `sine`
    // must outlive this.
    RotatingSine(const FinePhaseSine& sine, long double lagSin, long double lagCos);

    // The phase moves on `unitsPerFrame` of 1 / (1000 rate) of a cycle each
    // frame (below a whole cycle).
    void SetStep(std::uint64_t unitsPerFrame);

    // The first `frames` (at most kBlockFrames) values of the block whose
    // first frame stands at `units` (below 1000 rate): sin(2 pi phase - lag).
    void Fill(std::uint64_t units, std::size_t frames, double* out) const;

private:
    const FinePhaseSine& sine_;
    long double lagSin_;
    long double lagCos_;
    // The first row's phases from the block's start: l steps, exactly.
    std::array<long double, kLanes> laneSin_{};
    std::array<long double, kLanes> laneCos_{};
    // One row's turn: kLanes steps.
    double rowSin_ = 0;
    double rowCos_ = 1;
};
