// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The exact phase of a streamed tone. A tone of f millihertz at `rate`
// frames per second moves on by f / (1000 rate) of a cycle each frame; that
// fraction, reduced to p / q, makes the phase a whole number m modulo q that
// each frame adds p to. However many frames pass, the phase is the exact
// value (n p mod q) / q: nothing is rounded, so nothing drifts.
//
// For evaluation the phase is also given in the finest unit any frequency
// of the rate can reach, 1 / (1000 rate) of a cycle: m g with g = 1000 rate
// / q. A change of frequency keeps the phase reached as an offset in that
// unit, so the new tone continues exactly where the old one stood.

#include "engine/MilliHertz.h"

#include <cstdint>
#include <numeric>

class StreamPhase {
public:
    StreamPhase(MilliHertz frequency, int rate, std::uint64_t startUnits = 0)
        : units_(1000 * std::uint64_t(rate)), offset_(startUnits % units_) {
        SetStep(frequency);
    }

    // The step p / q in lowest terms.
    std::uint64_t Numerator() const { return step_; }
    std::uint64_t Denominator() const { return modulus_; }
    // m: frames since the last change of frequency, times p, modulo q.
    std::uint64_t Index() const { return index_; }
    // The phase in 1 / (1000 rate) of a cycle, 0 .. 1000 rate - 1.
    std::uint64_t Units() const {
        const std::uint64_t u = offset_ + index_ * unitsPerIndex_;
        return u >= units_ ? u - units_ : u;
    }
    std::uint64_t UnitsPerCycle() const { return units_; }
    // How far the phase moves each frame, in the same unit (below a cycle).
    std::uint64_t UnitsPerFrame() const { return step_ * unitsPerIndex_; }
    // The offset from which m counts is a whole number of steps of q.
    bool StartsOnIndexGrid() const { return offset_ % unitsPerIndex_ == 0; }
    std::uint64_t StartIndex() const { return offset_ / unitsPerIndex_; }

    void Advance() {
        index_ += step_;
        if (index_ >= modulus_)
            index_ -= modulus_;
    }
    // As many Advance() calls as `frames`, at once.
    void Advance(std::uint64_t frames) {
        // p and q are below 2^28 (q divides 1000 x 192000), so the product
        // fits.
        index_ = (index_ + frames % modulus_ * step_) % modulus_;
    }
    // Back `frames` frames (at most the frames since the last change of
    // frequency): the phase those frames ago.
    void StepBack(std::uint64_t frames) {
        index_ = (index_ + modulus_ - frames % modulus_ * step_ % modulus_) % modulus_;
    }
    // Whole cycles ended within `frames` frames after the last change of
    // frequency (or the start).
    std::uint64_t CyclesAfter(std::uint64_t frames) const {
        const auto units = static_cast<unsigned __int128>(offset_) +
                           static_cast<unsigned __int128>(frames) * step_ * unitsPerIndex_;
        return static_cast<std::uint64_t>(units / units_);
    }
    // A new frequency from the phase reached.
    void SetFrequency(MilliHertz frequency) {
        offset_ = Units();
        index_ = 0;
        SetStep(frequency);
    }

private:
    void SetStep(MilliHertz frequency) {
        const std::uint64_t f = std::uint64_t(frequency.value) % units_;
        const std::uint64_t g = std::gcd(f, units_); // f = 0: g = units, q = 1
        step_ = f / g;
        modulus_ = units_ / g;
        unitsPerIndex_ = g;
    }

    std::uint64_t units_;
    std::uint64_t offset_;
    std::uint64_t step_ = 0;
    std::uint64_t modulus_ = 1;
    std::uint64_t unitsPerIndex_ = 1;
    std::uint64_t index_ = 0;
};
