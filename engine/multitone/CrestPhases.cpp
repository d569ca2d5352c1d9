// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/multitone/CrestPhases.h"

#include "engine/multitone/MultitonePeriod.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <numeric>

std::vector<double> SchroederPhases(const std::vector<BinnedTone>& tones) {
    std::vector<std::size_t> order(tones.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return tones[a].bin < tones[b].bin; });
    long double total = 0;
    for (const BinnedTone& t : tones)
        total += static_cast<long double>(t.amplitude) * t.amplitude;
    // sum over l < k of (k - l) p_l, built up as k grows: each step adds
    // the power of every tone so far once more.
    std::vector<double> phases(tones.size());
    long double powerSoFar = 0, weighted = 0;
    for (std::size_t k = 0; k < order.size(); ++k) {
        const BinnedTone& t = tones[order[k]];
        weighted += powerSoFar;
        const long double turns = std::fmod(weighted, 1.0L);
        phases[order[k]] = t.phaseRadians
                               ? *t.phaseRadians
                               : static_cast<double>(-2 * std::numbers::pi_v<long double> * turns);
        powerSoFar += static_cast<long double>(t.amplitude) * t.amplitude / total;
    }
    return phases;
}

namespace {

// The p-norm of the period against a fixed scale, and its gradient along
// each free tone's phase: d/dphi_k of sum (x_n / s)^p is p / s sum
// (x_n / s)^(p - 1) a_k cos(theta_kn + phi_k), read for all tones from one
// forward transform of (x / s)^(p - 1).
struct NormAndSlope {
    double norm = 0;
    std::vector<double> slope;
};

NormAndSlope PNorm(const std::vector<BinnedTone>& tones, const std::vector<double>& phases,
                   const MultitonePeriod& period, int p, double scale, RealTransform& transform) {
    NormAndSlope result;
    std::vector<double> power(period.frames.size());
    long double sum = 0;
    for (std::size_t n = 0; n < power.size(); ++n) {
        const double r = period.frames[n] / scale;
        const double rp1 = std::pow(r, p - 1);
        power[n] = rp1;
        sum += static_cast<long double>(rp1) * r;
    }
    result.norm = static_cast<double>(sum);
    const std::vector<std::complex<double>> bins = transform.Forward(power);
    result.slope.resize(tones.size());
    for (std::size_t k = 0; k < tones.size(); ++k) {
        const std::complex<double> y = std::conj(bins[std::size_t(tones[k].bin)]);
        result.slope[k] = tones[k].phaseRadians
                              ? 0.0
                              : tones[k].amplitude * std::real(y * std::polar(1.0, phases[k]));
    }
    return result;
}

} // namespace

std::vector<double> LowerCrestPhases(const std::vector<BinnedTone>& tones, RealTransform& transform,
                                     const std::function<void()>& eachRound) {
    const auto nextRound = [&eachRound] {
        if (eachRound)
            eachRound();
    };
    std::vector<double> phases = SchroederPhases(tones);
    const bool anyFree = std::any_of(tones.begin(), tones.end(),
                                     [](const BinnedTone& t) { return !t.phaseRadians; });
    if (tones.size() < 2 || !anyFree)
        return phases;
    const int rounds = std::clamp((1 << 22) / transform.Length(), 24, 64);
    MultitonePeriod period = SynthesizePeriod(tones, phases, transform);
    std::vector<double> best = phases;
    double bestCrest = period.CrestFactorDb();
    const auto keepIfBest = [&] {
        if (const double crest = period.CrestFactorDb(); crest < bestCrest) {
            bestCrest = crest;
            best = phases;
        }
    };
    // First, clipping: cut the period at twice its RMS and take the phases
    // of what is left back, with the tones' own amplitudes.
    const double clipLevel = 2 * std::numbers::sqrt2 / 2;
    for (int round = 0; round < rounds; ++round) {
        nextRound();
        for (double& x : period.frames)
            x = std::clamp(x, -clipLevel, clipLevel);
        const std::vector<std::complex<double>> bins = transform.Forward(period.frames);
        for (std::size_t k = 0; k < tones.size(); ++k)
            if (!tones[k].phaseRadians)
                phases[k] = std::arg(bins[std::size_t(tones[k].bin)]) + std::numbers::pi / 2;
        period = SynthesizePeriod(tones, phases, transform);
        keepIfBest();
    }
    // Then descent on ever higher norms of the period, which weigh its
    // peaks ever more: each step turns every free phase against its
    // gradient, by a step that halves whenever the norm would grow.
    phases = best;
    period = SynthesizePeriod(tones, phases, transform);
    for (const int p : {8, 16, 32, 64, 128}) {
        const double scale = period.peak;
        NormAndSlope current = PNorm(tones, phases, period, p, scale, transform);
        double step = 0.05;
        for (int round = 0; round < rounds && step > 1e-6; ++round) {
            nextRound();
            double steepest = 0;
            for (const double g : current.slope)
                steepest = std::max(steepest, std::fabs(g));
            if (steepest == 0)
                break;
            std::vector<double> trial = phases;
            for (std::size_t k = 0; k < tones.size(); ++k)
                trial[k] -= step * current.slope[k] / steepest;
            MultitonePeriod next = SynthesizePeriod(tones, trial, transform);
            NormAndSlope tried = PNorm(tones, trial, next, p, scale, transform);
            if (tried.norm < current.norm) {
                phases = std::move(trial);
                period = std::move(next);
                current = std::move(tried);
                keepIfBest();
                step *= 1.5;
            } else {
                step /= 2;
            }
        }
    }
    return best;
}
