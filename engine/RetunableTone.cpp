// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/RetunableTone.h"

namespace {
// A level change ramps over 10 ms: short enough to be heard at once, long
// enough not to click.
constexpr int kRampsPerSecond = 100;
} // namespace

RetunableTone::RetunableTone(const StreamedToneSettings& settings, const WaveFormat& format)
    : tone_(settings, format), wave_(settings.wave),
      rampFrames_(std::size_t(format.SamplesPerSecond() / kRampsPerSecond)),
      asked_(settings.frequency.value), askedPeak_(settings.peak),
      askedRightPeak_(settings.rightPeak.value_or(settings.peak)), taken_(settings.frequency.value),
      takenPeak_(settings.peak), takenRightPeak_(settings.rightPeak.value_or(settings.peak)) {}

void RetunableTone::Render(std::size_t frames, std::uint8_t* out) {
    const std::int64_t frequency = asked_.load(std::memory_order_relaxed);
    if (frequency != taken_) {
        taken_ = frequency;
        tone_.SetFrequency({frequency});
    }
    const double peak = askedPeak_.load(std::memory_order_relaxed);
    const double rightPeak = askedRightPeak_.load(std::memory_order_relaxed);
    if (peak != takenPeak_ || rightPeak != takenRightPeak_) {
        takenPeak_ = peak;
        takenRightPeak_ = rightPeak;
        tone_.SetPeaks(peak, rightPeak, rampFrames_);
    }
    tone_.Render(frames, out);
}

bool RetunableTone::Retune(MilliHertz frequency) {
    if (frequency.value == asked_.load(std::memory_order_relaxed))
        return true;
    if (wave_ != TTGWave::tgSine)
        return false;
    asked_.store(frequency.value, std::memory_order_relaxed);
    return true;
}

void RetunableTone::Ramp(double left, double right) {
    askedPeak_.store(left, std::memory_order_relaxed);
    askedRightPeak_.store(right, std::memory_order_relaxed);
}
