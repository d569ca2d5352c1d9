// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/StreamedTone.h"

#include "engine/SampleWriter.h"

#include <algorithm>

StreamedTone::StreamedTone(const StreamedToneSettings& settings, const WaveFormat& format)
    : settings_(settings), format_(format), sine_(format.SamplesPerSecond()),
      left_(settings.wave, settings.frequency, 0, sine_), peak_(settings.peak) {
    if (format_.stereo && settings_.RightHasItsOwn())
        right_.emplace(settings.wave,
                       settings.rightFrequency.value != 0 ? settings.rightFrequency
                                                          : settings.frequency,
                       settings.rightLagTenths, sine_);
    leftChunk_.reserve(kChunk);
    rightChunk_.reserve(kChunk);
}

void StreamedTone::Render(std::size_t frames, std::uint8_t* out) {
    const std::size_t frameBytes = static_cast<std::size_t>(format_.BytesPerFrame());
    while (frames > 0) {
        const std::size_t n = std::min(frames, kChunk);
        leftChunk_.resize(n); // within the reserved room: no allocation
        rightChunk_.resize(right_ ? n : 0);
        for (std::size_t i = 0; i < n; ++i) {
            if (rampLeft_ > 0) {
                peak_ += peakStep_;
                if (--rampLeft_ == 0)
                    peak_ = settings_.peak;
            }
            const long double gain = Sounding() ? peak_ : 0.0;
            leftChunk_[i] = static_cast<double>(gain * left_.Next());
            if (right_)
                rightChunk_[i] = static_cast<double>(gain * right_->Next());
        }
        WriteChannelSamples(leftChunk_, rightChunk_, format_, settings_.dither ? &dither_ : nullptr,
                            out);
        out += n * frameBytes;
        frames -= n;
    }
}

bool StreamedTone::Sounding() const {
    const std::optional<BurstSettings>& burst = settings_.burst;
    if (!burst)
        return true;
    const auto period = std::uint64_t(std::max(burst->onCycles + burst->offCycles, 1));
    return left_.Cycles() % period < std::uint64_t(std::max(burst->onCycles, 0));
}

void StreamedTone::SetFrequency(MilliHertz frequency) {
    settings_.frequency = frequency;
    left_.SetFrequency(frequency);
    // A right channel that only lags follows the left one.
    if (right_ && settings_.rightFrequency.value == 0)
        right_->SetFrequency(frequency);
}

void StreamedTone::SetRightFrequency(MilliHertz frequency) {
    settings_.rightFrequency = frequency;
    if (right_)
        right_->SetFrequency(frequency.value != 0 ? frequency : settings_.frequency);
}

void StreamedTone::SetPeak(double peak, std::size_t rampFrames) {
    settings_.peak = peak;
    if (rampFrames == 0) {
        peak_ = peak;
        rampLeft_ = 0;
        return;
    }
    peakStep_ = (peak - peak_) / double(rampFrames);
    rampLeft_ = rampFrames;
}
