// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/steps/StepSchedule.h"

#include "engine/MilliHertz.h"

#include <cmath>

namespace {

// The first frame from `from` on at which step k's phase has passed a whole
// cycle it had not reached at the frame before: where the sine crosses zero
// rising.
std::uint64_t NextRisingZero(const StepSchedule& schedule, std::size_t k, std::uint64_t from) {
    const long double before = schedule.PhaseAt(k, from - 1);
    const long double cycle = std::floor(before) + 1;
    const SweepStep& s = schedule.steps[k];
    // Solve startPhase + (m - start) f / R >= cycle, then settle the
    // rounding by looking at the frames themselves.
    auto m = s.startFrame + static_cast<std::uint64_t>(
                                std::ceil((cycle - s.startPhase) * schedule.rate / s.hertz));
    while (m > from && schedule.PhaseAt(k, m - 1) >= cycle)
        --m;
    while (schedule.PhaseAt(k, m) < cycle)
        ++m;
    return m;
}

} // namespace

std::vector<double> StepFrequencies(const SteppedSweepSettings& settings) {
    std::vector<double> law;
    const int n = settings.count;
    if (!(settings.f1 > 0 && settings.f2 > 0 && std::isfinite(settings.f1) &&
          std::isfinite(settings.f2)) ||
        n < 1 || n > kMostSteps)
        return law;
    for (int k = 0; k < n; ++k) {
        const long double x = n == 1 ? 0.0L : static_cast<long double>(k) / (n - 1);
        const long double f1 = settings.f1, f2 = settings.f2;
        law.push_back(
            static_cast<double>(settings.linear ? f1 + x * (f2 - f1) : f1 * std::pow(f2 / f1, x)));
    }
    if (settings.upDown)
        for (int k = n - 2; k >= 0; --k)
            law.push_back(law[std::size_t(k)]);
    return law;
}

StepSchedule BuildStepSchedule(const SteppedSweepSettings& settings, int rate) {
    StepSchedule schedule;
    if (rate < 1000) {
        schedule.refusal = StepRefusal::BadRate;
        return schedule;
    }
    if (settings.count < 1 || settings.count > kMostSteps) {
        schedule.refusal = StepRefusal::BadCount;
        return schedule;
    }
    if (settings.dwellMs < kShortestDwellMs || settings.dwellMs > kLongestDwellMs) {
        schedule.refusal = StepRefusal::BadDwell;
        return schedule;
    }
    const FrequencyRange range = FrequencyRange::AtRate(rate);
    const std::vector<double> law = StepFrequencies(settings);
    for (const double f : {settings.f1, settings.f2})
        if (law.empty() || !(f >= range.lowest.Hertz() && f <= range.highest.Hertz())) {
            schedule.refusal = StepRefusal::BadFrequency;
            return schedule;
        }
    schedule.rate = rate;
    const auto dwellFrames =
        static_cast<std::uint64_t>(settings.dwellMs) * std::uint64_t(rate) / 1000;
    std::uint64_t start = 0;
    long double phase = 0;
    for (std::size_t k = 0; k < law.size(); ++k) {
        schedule.steps.push_back({law[k], start, phase});
        start = NextRisingZero(schedule, k, start + dwellFrames);
        const long double reached = schedule.PhaseAt(k, start);
        phase = reached - std::floor(reached);
    }
    schedule.endFrame = start;
    return schedule;
}
