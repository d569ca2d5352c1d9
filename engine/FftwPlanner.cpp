// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/FftwPlanner.h"

#include <mutex>
#include <new>

namespace fftw_planner {

namespace {

std::mutex& PlannerLock() {
    static std::mutex lock;
    return lock;
}

std::size_t LargestPrimeFactor(std::size_t n) {
    std::size_t largest = 1;
    for (std::size_t p = 2; p * p <= n; ++p)
        while (n % p == 0) {
            largest = p;
            n /= p;
        }
    return n > 1 ? n : largest;
}

// The library's own allocator gives null where its planner would abort; the
// address space found free is given back at once, for the planner to take.
void EnsureFree(std::size_t bytes) {
    void* room = fftw_malloc(bytes);
    if (!room)
        throw std::bad_alloc();
    fftw_free(room);
}

} // namespace

std::size_t ComplexToRealBytes(int length) {
    const std::size_t n = length > 0 ? std::size_t(length) : 1;
    // Half as much again as measured.
    return 24 * n + 72 * LargestPrimeFactor(n) + (std::size_t(256) << 10);
}

fftw_plan ComplexToReal(int length, fftw_complex* in, double* out, unsigned flags) {
    const std::lock_guard<std::mutex> lock(PlannerLock());
    EnsureFree(ComplexToRealBytes(length));
    fftw_plan plan = fftw_plan_dft_c2r_1d(length, in, out, flags);
    if (!plan)
        throw std::bad_alloc();
    return plan;
}

fftw_plan RealToComplex(int length, double* in, fftw_complex* out, unsigned flags) {
    const std::lock_guard<std::mutex> lock(PlannerLock());
    EnsureFree(ComplexToRealBytes(length));
    fftw_plan plan = fftw_plan_dft_r2c_1d(length, in, out, flags);
    if (!plan)
        throw std::bad_alloc();
    return plan;
}

fftw_plan RealToReal(int length, double* in, double* out, fftw_r2r_kind kind, unsigned flags) {
    const std::lock_guard<std::mutex> lock(PlannerLock());
    // The library may transform through a real transform of twice the
    // length.
    EnsureFree(ComplexToRealBytes(2 * length));
    fftw_plan plan = fftw_plan_r2r_1d(length, in, out, kind, flags);
    if (!plan)
        throw std::bad_alloc();
    return plan;
}

void Destroy(fftw_plan plan) {
    const std::lock_guard<std::mutex> lock(PlannerLock());
    fftw_destroy_plan(plan);
}

} // namespace fftw_planner
