// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The phase of a component in whole numbers: at sample n a tone of f Hz
// stands at (n * f mod rate) / rate of its cycle. Kept as the integer
// n * f mod rate, it never drifts however long the image is.

#include <numeric>

// How many samples pass before the phase repeats: rate / gcd(f, rate). They
// hold f / gcd(f, rate) whole cycles.
inline int ExactCycleLength(int frequency, int rate) {
    return rate / std::gcd(frequency, rate);
}

// Walks the phase index sample by sample: starts at `start` and moves on by
// `step` (both below `rate`), wrapping at `rate`.
class ExactPhase {
public:
    ExactPhase(long step, int rate, long start = 0)
        : step_(step % rate), rate_(rate), index_(start % rate) {}

    int Index() const { return static_cast<int>(index_); }
    void Advance() {
        index_ += step_;
        if (index_ >= rate_)
            index_ -= rate_;
    }

private:
    long step_;
    long rate_;
    long index_;
};
