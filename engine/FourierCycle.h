// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One cycle of a waveform sampled at `length` evenly spaced points, summed
// from its harmonics by one inverse real FFT: value m is the sum over the
// harmonics of amplitude x sin (or cos) of 2 pi k m / length. Every
// harmonic number must stay below length / 2.
//
// Transform plans are made once per length and kept; making them is guarded,
// running them is safe from any thread.

#include "engine/HarmonicSeries.h"

#include <vector>

std::vector<double> FourierCycle(const HarmonicSeries& series, int length);
