// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one way to fftw's planner. The planner is not thread-safe, and where
// an allocation of its own fails it aborts the program instead of failing:
// plans are made and destroyed here under one lock, and a plan is made only
// once the memory that it and its runs take has been found free.

#include <fftw3.h>

#include <cstddef>

namespace fftw_planner {

// A complex-to-real transform of `length` samples from `in` (length / 2 + 1
// bins) into `out`. Throws std::bad_alloc when memory is short.
fftw_plan ComplexToReal(int length, fftw_complex* in, double* out, unsigned flags);
// The real-to-complex transform of `length` samples from `in` into `out`
// (length / 2 + 1 bins); the same memory bound holds.
fftw_plan RealToComplex(int length, double* in, fftw_complex* out, unsigned flags);
// A real-to-real transform of `length` values of that kind (a sine or
// cosine series); the same memory bound holds.
fftw_plan RealToReal(int length, double* in, double* out, fftw_r2r_kind kind, unsigned flags);
void Destroy(fftw_plan plan);

// An upper bound of the memory the library takes to plan and run such a
// transform. Measured on the lengths the generator uses: 8 to 17 bytes a
// sample for lengths of small factors, up to 60 for a prime length (which
// the library transforms through a longer one), and a few hundred kilobytes
// at most for short lengths.
std::size_t ComplexToRealBytes(int length);

} // namespace fftw_planner
