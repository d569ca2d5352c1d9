// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/signals/PinkNoise.h"

#include "engine/NoiseSource.h"

#include "engine/FftwPlanner.h"

#include <algorithm>
#include <cmath>
#include <numbers>

std::vector<double> PinkNoise(int count, int rate, std::uint32_t seed, double lowHz,
                              double highHz) {
    if (count <= 0)
        return {};
    constexpr std::uint32_t kPhaseSteps = 1u << 24;
    NoiseSource random(seed);
    std::vector<fftw_complex> spectrum(static_cast<std::size_t>(count / 2 + 1));
    for (std::size_t k = 0; k < spectrum.size(); ++k) {
        const double hz = double(k) * rate / count;
        // The phase is drawn for every bin, so the bins keep their phases
        // whatever the band.
        const double phase = 2 * std::numbers::pi * random.Draw(kPhaseSteps) / kPhaseSteps;
        const double magnitude = (hz >= lowHz && hz <= highHz) ? 1 / std::sqrt(hz) : 0;
        spectrum[k][0] = magnitude * std::cos(phase);
        spectrum[k][1] = magnitude * std::sin(phase);
    }
    if (count % 2 == 0)
        spectrum.back()[1] = 0; // the Nyquist bin of an even length is real
    std::vector<double> out(static_cast<std::size_t>(count));
    fftw_plan plan = fftw_planner::ComplexToReal(count, spectrum.data(), out.data(),
                                                 FFTW_ESTIMATE | FFTW_DESTROY_INPUT);
    fftw_execute(plan);
    fftw_planner::Destroy(plan);
    double peak = 0;
    for (double v : out)
        peak = std::max(peak, std::fabs(v));
    if (peak > 0)
        for (double& v : out)
            v /= peak;
    return out;
}
