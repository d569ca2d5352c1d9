// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/FourierCycle.h"

#include "engine/FftwTransforms.h"

std::vector<double> FourierCycle(const HarmonicSeries& series, int length) {
    ComplexBuffer in = AllocateComplex(std::size_t(length) / 2 + 1);
    SeriesBins(series, length, in.get());
    AlignedValues out = AllocateAligned(std::size_t(length));
    InverseRealTransform(length, in.get(), out.get());
    return std::vector<double>(out.get(), out.get() + length);
}
