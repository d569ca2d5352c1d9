// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The samples of one precise component: the ideal waveform at each sample's
// exact phase (n * f mod rate) / rate, band-limited for the square,
// triangle and sawtooth, scaled to -1..1. Summed in double precision: the
// error stays below 1e-12 of the peak, far below a step.

#include "engine/ToneGenTypes.h"

#include <vector>

// How the harmonics are summed. Both give the same values to far below a
// step; the fastest picks by the work each would take.
enum class SumMethod { Fastest, Direct, Fourier };

// Samples 0 .. count-1, where count is at most the exact cycle length
// (ExactCycleLength): past it the values repeat. Empty when the waveform has
// nothing below half the rate (or is noise).
std::vector<double> PreciseWave(TTGWave wave, int frequency, int rate, int count,
                                SumMethod method = SumMethod::Fastest);
