// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/multitone/RealTransform.h"

#include "engine/FftwPlanner.h"

#include <fftw3.h>

#include <algorithm>
#include <new>

namespace {

template <typename T> T* Checked(T* p) {
    if (!p)
        throw std::bad_alloc();
    return p;
}

} // namespace

struct RealTransform::Plans {
    double* real = nullptr;
    fftw_complex* bins = nullptr;
    fftw_plan forward = nullptr;
    fftw_plan inverse = nullptr;

    ~Plans() {
        if (forward)
            fftw_planner::Destroy(forward);
        if (inverse)
            fftw_planner::Destroy(inverse);
        fftw_free(real);
        fftw_free(bins);
    }
};

RealTransform::RealTransform(int length) : length_(length), plans_(std::make_unique<Plans>()) {
    const auto n = static_cast<std::size_t>(length);
    plans_->real = Checked(fftw_alloc_real(n));
    plans_->bins = Checked(fftw_alloc_complex(n / 2 + 1));
    plans_->forward =
        fftw_planner::RealToComplex(length, plans_->real, plans_->bins, FFTW_ESTIMATE);
    plans_->inverse = fftw_planner::ComplexToReal(length, plans_->bins, plans_->real,
                                                  FFTW_ESTIMATE | FFTW_DESTROY_INPUT);
}

RealTransform::~RealTransform() = default;

std::vector<std::complex<double>> RealTransform::Forward(const std::vector<double>& frames) {
    std::copy_n(frames.begin(), length_, plans_->real);
    fftw_execute(plans_->forward);
    std::vector<std::complex<double>> bins(static_cast<std::size_t>(length_ / 2 + 1));
    for (std::size_t k = 0; k < bins.size(); ++k)
        bins[k] = {plans_->bins[k][0], plans_->bins[k][1]};
    return bins;
}

std::vector<double> RealTransform::Inverse(const std::vector<std::complex<double>>& bins) {
    for (std::size_t k = 0; k < bins.size(); ++k) {
        plans_->bins[k][0] = bins[k].real();
        plans_->bins[k][1] = bins[k].imag();
    }
    fftw_execute(plans_->inverse);
    return std::vector<double>(plans_->real, plans_->real + length_);
}
