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
      asked_(settings.frequency.value), askedPeak_(settings.peak), taken_(settings.frequency.value),
      takenPeak_(settings.peak) {}

void RetunableTone::Render(std::size_t frames, std::uint8_t* out) {
    const std::int64_t frequency = asked_.load(std::memory_order_relaxed);
    if (frequency != taken_) {
        taken_ = frequency;
        tone_.SetFrequency({frequency});
    }
    const double peak = askedPeak_.load(std::memory_order_relaxed);
    if (peak != takenPeak_) {
        takenPeak_ = peak;
        tone_.SetPeak(peak, rampFrames_);
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

void RetunableTone::Ramp(double peak) {
    askedPeak_.store(peak, std::memory_order_relaxed);
}
