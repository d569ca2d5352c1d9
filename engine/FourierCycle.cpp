// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/FourierCycle.h"

#include "engine/FftwPlanner.h"

#include <map>
#include <memory>
#include <mutex>
#include <new>

namespace {

struct FftwFree {
    void operator()(void* p) const { fftw_free(p); }
};
using ComplexBuffer = std::unique_ptr<fftw_complex[], FftwFree>;
using RealBuffer = std::unique_ptr<double[], FftwFree>;

ComplexBuffer AllocateComplex(int n) {
    ComplexBuffer p(fftw_alloc_complex(static_cast<std::size_t>(n)));
    if (!p)
        throw std::bad_alloc();
    return p;
}
RealBuffer AllocateReal(int n) {
    RealBuffer p(fftw_alloc_real(static_cast<std::size_t>(n)));
    if (!p)
        throw std::bad_alloc();
    return p;
}

// Plans are made once per length, under a lock (see FftwPlanner), on
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
        fftw_plan& plan = plans_[length];
        if (!plan) {
            ComplexBuffer in = AllocateComplex(length / 2 + 1);
            RealBuffer out = AllocateReal(length);
            // Missing memory fails the build, which can be retried.
            plan = fftw_planner::ComplexToReal(length, in.get(), out.get(),
                                               FFTW_ESTIMATE | FFTW_DESTROY_INPUT);
        }
        return plan;
    }

private:
    std::mutex mutex_;
    std::map<int, fftw_plan> plans_;
};

} // namespace

std::vector<double> FourierCycle(const HarmonicSeries& series, int length) {
    const int bins = length / 2 + 1;
    ComplexBuffer in = AllocateComplex(bins);
    for (int k = 0; k < bins; ++k)
        in[k][0] = in[k][1] = 0;
    // The backward transform gives bin k twice (k and length - k), as
    // 2 Re(X e^(i theta)): X = a / 2 gives a cos theta, X = -i a / 2 gives
    // a sin theta.
    for (const Harmonic& h : series.harmonics) {
        if (h.number <= 0 || 2 * h.number >= length)
            continue;
        const double half = h.amplitude / 2;
        if (h.cosine)
            in[h.number][0] += half;
        else
            in[h.number][1] -= half;
    }
    RealBuffer out = AllocateReal(length);
    fftw_execute_dft_c2r(PlanCache::Instance().For(length), in.get(), out.get());
    return std::vector<double>(out.get(), out.get() + length);
}
