// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/RetunableTone.h"

namespace {
// A level change ramps over 10 ms: short enough to be heard at once, long
// enough not to click.
constexpr int kRampsPerSecond = 100;
} // namespace

RetunableTone::RetunableTone(const StreamedToneSettings& settings, const WaveFormat& format)
    : tone_(settings, format), wave_(settings.wave), rate_(format.SamplesPerSecond()),
      rightFollows_(tone_.Right() && settings.rightFrequency.value == 0),
      rampFrames_(std::size_t(format.SamplesPerSecond() / kRampsPerSecond)),
      asked_(settings.frequency.value), askedPeak_(settings.peak),
      askedRightPeak_(settings.rightPeak.value_or(settings.peak)), taken_(settings.frequency.value),
      takenPeak_(settings.peak), takenRightPeak_(settings.rightPeak.value_or(settings.peak)) {}

RetunableTone::~RetunableTone() {
    delete pending_.exchange(nullptr);
    FreeRetired();
}

void RetunableTone::Render(std::size_t frames, std::uint8_t* out) {
    if (Retuning* retuning = pending_.exchange(nullptr, std::memory_order_acquire)) {
        taken_ = retuning->frequency.value;
        tone_.SetFrequency(retuning->frequency, retuning->left, retuning->right);
        Retire(retuning); // now with the old tables
    } else if (wave_ == TTGWave::tgSine) {
        const std::int64_t frequency = asked_.load(std::memory_order_relaxed);
        if (frequency != taken_) {
            taken_ = frequency;
            tone_.SetFrequency({frequency});
        }
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
    if (wave_ != TTGWave::tgSine) {
        std::unique_ptr<Retuning> retuning = prepared_ && prepared_->frequency == frequency
                                                 ? std::move(prepared_)
                                                 : Build(frequency);
        // One the feed has not taken yet is never taken now.
        delete pending_.exchange(retuning.release(), std::memory_order_acq_rel);
    }
    asked_.store(frequency.value, std::memory_order_relaxed);
    return true;
}

void RetunableTone::PrepareRetune(MilliHertz frequency) {
    FreeRetired();
    if (wave_ == TTGWave::tgSine || frequency.value == asked_.load(std::memory_order_relaxed))
        return;
    if (!prepared_ || prepared_->frequency != frequency)
        prepared_ = Build(frequency);
}

std::unique_ptr<RetunableTone::Retuning> RetunableTone::Build(MilliHertz frequency) const {
    auto retuning = std::make_unique<Retuning>();
    retuning->frequency = frequency;
    retuning->left = ChannelTone::RetuneTables(wave_, frequency, rate_);
    // The channels' tables are the same at any lag.
    if (rightFollows_)
        retuning->right.taylor = retuning->left.taylor;
    return retuning;
}

void RetunableTone::Retire(Retuning* retuning) {
    Retuning* head = retired_.load(std::memory_order_relaxed);
    do {
        retuning->next = head;
    } while (!retired_.compare_exchange_weak(head, retuning, std::memory_order_release,
                                             std::memory_order_relaxed));
}

void RetunableTone::FreeRetired() {
    Retuning* retuning = retired_.exchange(nullptr, std::memory_order_acquire);
    while (retuning) {
        Retuning* next = retuning->next;
        delete retuning;
        retuning = next;
    }
}

void RetunableTone::Ramp(double left, double right) {
    askedPeak_.store(left, std::memory_order_relaxed);
    askedRightPeak_.store(right, std::memory_order_relaxed);
}
