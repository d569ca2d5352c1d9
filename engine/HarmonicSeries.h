// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The harmonics a precise component is made of: the sine alone, or the
// square, triangle and sawtooth cut off below half the sample rate, so that
// nothing folds back as an alias. The signs keep the classic directions:
// the square low in the first half of each cycle, the triangle rising from
// its lowest point at phase 0, the sawtooth rising across the cycle.

#include "engine/ToneGenTypes.h"

#include <vector>

struct Harmonic {
    int number = 1;       // k: k times the component's frequency
    double amplitude = 0; // of sin(k theta), or of cos(k theta)
    bool cosine = false;
};

struct HarmonicSeries {
    std::vector<Harmonic> harmonics;

    bool Empty() const { return harmonics.empty(); }
};

// The series of a periodic waveform at `frequency` Hz sampled at `rate`,
// scaled so that the continuous waveform's peak is exactly 1: at no phase
// does it leave -1..1, and it reaches one of them.
// Noise has none. A shape with no harmonic below half the rate is empty; the
// sine keeps its fundamental at any frequency, as the sampled ideal sine.
HarmonicSeries BandLimitedSeries(TTGWave wave, int frequency, int rate);
// The same with the harmonics up to number `top` (at least the sine's
// fundamental), for frequencies that are not whole hertz.
HarmonicSeries SeriesUpTo(TTGWave wave, int top);

// The series' value at phase angle theta (radians).
double SeriesValue(const HarmonicSeries& series, double theta);
