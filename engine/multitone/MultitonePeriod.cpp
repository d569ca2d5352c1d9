// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/multitone/MultitonePeriod.h"

#include <cmath>
#include <complex>
#include <numbers>

namespace {

struct PeakAndRms {
    double peak = 0;
    double rms = 0;
};

PeakAndRms Measure(const std::vector<double>& frames) {
    long double sum = 0;
    double peak = 0;
    for (const double x : frames) {
        sum += static_cast<long double>(x) * x;
        peak = std::max(peak, std::fabs(x));
    }
    return {peak, frames.empty() ? 0.0 : static_cast<double>(std::sqrt(sum / frames.size()))};
}

} // namespace

double CrestFactorDb(const std::vector<double>& frames) {
    const PeakAndRms m = Measure(frames);
    return m.rms > 0 ? 20 * std::log10(m.peak / m.rms) : 0.0;
}

double MultitonePeriod::CrestFactorDb() const {
    return 20 * std::log10(peak * std::numbers::sqrt2);
}

MultitonePeriod SynthesizePeriod(const std::vector<BinnedTone>& tones,
                                 const std::vector<double>& phases, RealTransform& transform) {
    MultitonePeriod period;
    if (tones.empty())
        return period;
    // The inverse transform gives bin k as 2 Re(X e^(i theta)): X = a/2
    // e^(i (phi - pi/2)) gives a cos(theta + phi - pi/2) = a sin(theta + phi).
    std::vector<std::complex<double>> bins(static_cast<std::size_t>(transform.Length() / 2 + 1));
    for (std::size_t k = 0; k < tones.size(); ++k)
        bins[std::size_t(tones[k].bin)] =
            std::polar(tones[k].amplitude / 2, phases[k] - std::numbers::pi / 2);
    period.frames = transform.Inverse(bins);
    // Scaled by the exact power of the tones, sum a^2 / 2, rather than by
    // the frames' measured RMS: the same value up to rounding.
    long double power = 0;
    for (const BinnedTone& t : tones)
        power += static_cast<long double>(t.amplitude) * t.amplitude / 2;
    const double scale = static_cast<double>(std::sqrt(0.5L / power));
    for (double& x : period.frames) {
        x *= scale;
        period.peak = std::max(period.peak, std::fabs(x));
    }
    return period;
}
