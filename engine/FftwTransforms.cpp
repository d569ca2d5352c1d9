// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/FftwTransforms.h"

#include "engine/FftwPlanner.h"

#include <map>
#include <mutex>
#include <new>
#include <utility>

void AlignedFree::operator()(void* p) const {
    fftw_free(p);
}

AlignedValues AllocateAligned(std::size_t n) {
    AlignedValues p(fftw_alloc_real(n));
    if (!p)
        throw std::bad_alloc();
    return p;
}

ComplexBuffer AllocateComplex(std::size_t n) {
    ComplexBuffer p(fftw_alloc_complex(n));
    if (!p)
        throw std::bad_alloc();
    return p;
}

namespace {

// Plans are made once per length and kind, under a lock (see FftwPlanner), on
// buffers of the library's own alignment, and the buffers they later run
// on are allocated the same way. At the end of the program the plans and
// the planner's own memory are given back.
class PlanCache {
public:
    static PlanCache& Instance() {
        static PlanCache cache;
        return cache;
    }
    ~PlanCache() {
        for (auto& [length, plan] : plans_)
            fftw_planner::Destroy(plan);
        fftw_cleanup();
    }

    fftw_plan For(int length) {
        const std::lock_guard<std::mutex> lock(mutex_);
        fftw_plan& plan = plans_[{length, kComplexToReal}];
        if (!plan) {
            ComplexBuffer in = AllocateComplex(std::size_t(length) / 2 + 1);
            AlignedValues out = AllocateAligned(std::size_t(length));
            // Missing memory fails the build, which can be retried.
            plan = fftw_planner::ComplexToReal(length, in.get(), out.get(),
                                               FFTW_ESTIMATE | FFTW_DESTROY_INPUT);
        }
        return plan;
    }

    fftw_plan For(int length, fftw_r2r_kind kind) {
        const std::lock_guard<std::mutex> lock(mutex_);
        fftw_plan& plan = plans_[{length, int(kind)}];
        if (!plan) {
            AlignedValues in = AllocateAligned(std::size_t(length));
            AlignedValues out = AllocateAligned(std::size_t(length));
            plan = fftw_planner::RealToReal(length, in.get(), out.get(), kind,
                                            FFTW_ESTIMATE | FFTW_DESTROY_INPUT);
        }
        return plan;
    }

private:
    static constexpr int kComplexToReal = -1;
    std::mutex mutex_;
    std::map<std::pair<int, int>, fftw_plan> plans_;
};

} // namespace

void SeriesBins(const HarmonicSeries& series, int length, fftw_complex* bins) {
    const int count = length / 2 + 1;
    for (int k = 0; k < count; ++k)
        bins[k][0] = bins[k][1] = 0;
    // The backward transform gives bin k twice (k and length - k), as
    // 2 Re(X e^(i theta)): X = a / 2 gives a cos theta, X = -i a / 2 gives
    // a sin theta.
    for (const Harmonic& h : series.harmonics) {
        if (h.number <= 0 || 2 * h.number >= length)
            continue;
        const double half = h.amplitude / 2;
        if (h.cosine)
            bins[h.number][0] += half;
        else
            bins[h.number][1] -= half;
    }
}

void InverseRealTransform(int length, fftw_complex* bins, double* out) {
    fftw_execute_dft_c2r(PlanCache::Instance().For(length), bins, out);
}

void RealToRealTransform(int length, fftw_r2r_kind kind, double* in, double* out) {
    fftw_execute_r2r(PlanCache::Instance().For(length, kind), in, out);
}
