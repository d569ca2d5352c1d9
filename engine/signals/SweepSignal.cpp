// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/signals/SweepSignal.h"

#include <algorithm>
#include <cmath>
#include <numbers>

SweepLaw::SweepLaw(const SweepSettings& settings)
    : start_(settings.startHz), end_(settings.endHz), linear_(settings.linear),
      duration_(settings.durationMs / 1000.0) {
    if (linear_ || start_ == end_)
        return;
    // Novak et al.: L = round(T f1 / ln(f2/f1)) / f1, so that f1 L is a whole
    // number; at least one cycle, so the shortest sweeps keep the law.
    const double ratio = std::log(end_ / start_);
    double cycles = std::round(duration_ * start_ / ratio);
    if (cycles == 0)
        cycles = ratio > 0 ? 1 : -1;
    rate_ = cycles / start_;
    duration_ = rate_ * ratio;
}

double SweepLaw::Cycles(double t) const {
    if (linear_ || rate_ == 0)
        return start_ * t + (end_ - start_) * t * t / (2 * duration_);
    return start_ * rate_ * std::expm1(t / rate_);
}

double SweepLaw::FrequencyAt(double t) const {
    if (linear_ || rate_ == 0)
        return start_ + (end_ - start_) * t / duration_;
    return start_ * std::exp(t / rate_);
}

namespace {

double SineOfCycles(double cycles) {
    return std::sin(2 * std::numbers::pi * (cycles - std::floor(cycles)));
}

std::size_t SweepBodyCount(const SweepLaw& law, int sampleRate) {
    return static_cast<std::size_t>(std::lround(law.DurationSeconds() * sampleRate));
}

// In real numbers: the longest fade's samples (30 s at 96000 a second) do
// not fit an int.
std::size_t FadeCount(const SweepSettings& settings, std::size_t count, int sampleRate) {
    return std::min<std::size_t>(count / 2, static_cast<std::size_t>(std::llround(
                                                double(settings.fadeMs) * sampleRate / 1000.0)));
}

// Past its end a joined sweep runs on to the end of its last cycle, on
// its law. A falling linear law would run the frequency down through zero
// there and never finish the cycle: its tail holds the end frequency.
double JoinedCycles(const SweepLaw& law, const SweepSettings& settings, double t) {
    const double end = law.DurationSeconds();
    if (settings.linear && settings.endHz < settings.startHz && t > end)
        return law.Cycles(end) + settings.endHz * (t - end);
    return law.Cycles(t);
}

} // namespace

std::size_t SweepSampleCount(const SweepSettings& settings, int sampleRate) {
    const SweepLaw law(settings);
    const std::size_t count = SweepBodyCount(law, sampleRate);
    if (!settings.joinLoop || FadeCount(settings, count, sampleRate) != 0 || count == 0)
        return count;
    // Run on until the next sample would be the next whole cycle (within
    // half a sample's step): the repetition's first sample, at phase 0,
    // then follows as that sample.
    const double whole = std::floor(law.Cycles(double(count - 1) / sampleRate)) + 1;
    const double halfStep = 0.5 * law.FrequencyAt(law.DurationSeconds()) / sampleRate;
    std::size_t n = count;
    while (JoinedCycles(law, settings, double(n) / sampleRate) < whole - halfStep)
        ++n;
    return n;
}

std::vector<double> SweepSamples(const SweepSettings& settings, int sampleRate) {
    const SweepLaw law(settings);
    const std::size_t count = SweepBodyCount(law, sampleRate);
    std::vector<double> out(SweepSampleCount(settings, sampleRate));
    for (std::size_t n = 0; n < out.size(); ++n)
        out[n] = SineOfCycles(JoinedCycles(law, settings, double(n) / sampleRate));

    const std::size_t fade = FadeCount(settings, count, sampleRate);
    for (std::size_t n = 0; n < fade; ++n) {
        const double gain = 0.5 - 0.5 * std::cos(std::numbers::pi * double(n) / double(fade));
        out[n] *= gain;
        out[count - 1 - n] *= gain;
    }
    return out;
}
