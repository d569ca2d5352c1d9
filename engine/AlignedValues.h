// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Values in the transform library's own alignment, so that its transforms
// write them in place (FftwTransforms).

#include <cstddef>
#include <memory>

struct AlignedFree {
    void operator()(void* p) const;
};
using AlignedValues = std::unique_ptr<double[], AlignedFree>;

// May throw std::bad_alloc.
AlignedValues AllocateAligned(std::size_t n);
