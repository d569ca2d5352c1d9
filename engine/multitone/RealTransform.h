// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A real transform of one length both ways, for building multitones: the
// spectrum of N real frames (bins 0 .. N/2) and the frames of a spectrum.
// Unnormalised: Inverse(Forward(x)) is N x.
//
// Plans are made through the one planner (FftwPlanner.h) on the library's
// own aligned buffers; making a transform may throw std::bad_alloc.

#include <complex>
#include <memory>
#include <vector>

class RealTransform {
public:
    explicit RealTransform(int length);
    ~RealTransform();
    RealTransform(const RealTransform&) = delete;
    RealTransform& operator=(const RealTransform&) = delete;

    int Length() const { return length_; }
    // `frames`: N values; returns N/2 + 1 bins.
    std::vector<std::complex<double>> Forward(const std::vector<double>& frames);
    // `bins`: N/2 + 1 values (the imaginary parts of bins 0 and N/2 are
    // ignored); returns N frames, x[n] = sum over all N bins of X[k] e^(2 pi
    // i k n / N) with the upper half mirrored.
    std::vector<double> Inverse(const std::vector<std::complex<double>>& bins);

private:
    struct Plans;
    int length_;
    std::unique_ptr<Plans> plans_;
};
