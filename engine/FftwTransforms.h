// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The transforms the tables of cycles are summed with. Plans are made once
// per length and kind and kept (see FftwPlanner); running them is safe from
// any thread.

#include "engine/AlignedValues.h"
#include "engine/HarmonicSeries.h"

#include <fftw3.h>

#include <cstddef>
#include <memory>

struct FftwComplexFree {
    void operator()(void* p) const { fftw_free(p); }
};
using ComplexBuffer = std::unique_ptr<fftw_complex[], FftwComplexFree>;
// May throw std::bad_alloc.
ComplexBuffer AllocateComplex(std::size_t n);

// The bins whose inverse real transform gives the series' cycle on `length`
// points (length / 2 + 1 of them, all written).
void SeriesBins(const HarmonicSeries& series, int length, fftw_complex* bins);
// The inverse real transform of `bins` (length / 2 + 1 values, destroyed)
// into `out`: a block of AllocateAligned's, or a part of one that starts a
// multiple of 8 values in, so that it keeps the block's alignment.
void InverseRealTransform(int length, fftw_complex* bins, double* out);
// The transform of that kind of `length` values from `in` (destroyed) into
// `out`, both kept aligned as above.
void RealToRealTransform(int length, fftw_r2r_kind kind, double* in, double* out);
