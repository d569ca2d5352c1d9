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

#include <fftw3.h>

#include <cstddef>
#include <memory>
#include <vector>

std::vector<double> FourierCycle(const HarmonicSeries& series, int length);

// Storage with the transform library's own alignment (may throw
// std::bad_alloc).
struct FftwFree {
    void operator()(void* p) const { fftw_free(p); }
};
using ComplexBuffer = std::unique_ptr<fftw_complex[], FftwFree>;
using RealBuffer = std::unique_ptr<double[], FftwFree>;
ComplexBuffer AllocateComplex(std::size_t n);
RealBuffer AllocateReal(std::size_t n);

// The bins whose inverse real transform gives the series' cycle on `length`
// points (length / 2 + 1 of them, all written).
void SeriesBins(const HarmonicSeries& series, int length, fftw_complex* bins);
// The inverse real transform of `bins` (length / 2 + 1 values, destroyed)
// into `out`: a block of AllocateReal's, or a part of one that starts a
// multiple of 8 values in, so that it keeps the block's alignment.
void InverseRealTransform(int length, fftw_complex* bins, double* out);
// The transform of that kind of `length` values from `in` (destroyed) into
// `out`, both kept aligned as above.
void RealToRealTransform(int length, fftw_r2r_kind kind, double* in, double* out);
