// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/StreamedTone.h"

#include "engine/SampleWriter.h"

#include <algorithm>

StreamedTone::StreamedTone(const StreamedToneSettings& settings, const WaveFormat& format)
    : settings_(settings), format_(format), sine_(format.SamplesPerSecond()),
      left_(settings.wave, settings.frequency, 0, sine_) {
    if (format_.stereo && settings_.RightHasItsOwn())
        right_.emplace(settings.wave,
                       settings.rightFrequency.value != 0 ? settings.rightFrequency
                                                          : settings.frequency,
                       settings.rightLagTenths, sine_);
    const double right = settings.rightPeak.value_or(settings.peak);
    leftRamp_ = {settings.peak, settings.peak, 0};
    rightRamp_ = {right, right, 0};
    ownRightPeak_ = format_.stereo && right != settings.peak;
    leftChunk_.reserve(kChunk);
    rightChunk_.reserve(kChunk);
}

void StreamedTone::Render(std::size_t frames, std::uint8_t* out) {
    const std::size_t frameBytes = static_cast<std::size_t>(format_.BytesPerFrame());
    // A right channel of its own, or the left one's samples at a peak of
    // their own.
    const bool rightSamples = right_ || ownRightPeak_;
    while (frames > 0) {
        const std::size_t n = std::min(frames, kChunk);
        leftChunk_.resize(n); // within the reserved room: no allocation
        rightChunk_.resize(rightSamples ? n : 0);
        // The bursts count the left channel's cycles from where it stands.
        const StreamPhase burstPhase = left_.Phase();
        const std::uint64_t burstCycles = left_.Cycles();
        left_.Render(n, leftChunk_.data());
        if (right_)
            right_->Render(n, rightChunk_.data());
        else if (rightSamples)
            std::copy_n(leftChunk_.data(), n, rightChunk_.data());
        ApplyRamp(leftRamp_, rampFrame_, leftChunk_.data(), n);
        if (rightSamples)
            ApplyRamp(rightRamp_, rampFrame_, rightChunk_.data(), n);
        if (settings_.burst)
            SilenceOffCycles(burstPhase, burstCycles, n);
        rampFrame_ += n;
        framesSinceChange_ += n;
        WriteChannelSamples(leftChunk_, rightChunk_, format_, settings_.dither ? &dither_ : nullptr,
                            out);
        out += n * frameBytes;
        frames -= n;
    }
}

void StreamedTone::ApplyRamp(const PeakRamp& ramp, std::uint64_t first, double* values,
                             std::size_t frames) {
    std::size_t i = 0;
    for (; i < frames && first + i < ramp.frames; ++i)
        values[i] *= ramp.At(first + i);
    if (ramp.to != 1.0)
        for (; i < frames; ++i)
            values[i] *= ramp.to;
}

void StreamedTone::SilenceOffCycles(const StreamPhase& phase, std::uint64_t cycles,
                                    std::size_t frames) {
    const BurstSettings& burst = *settings_.burst;
    const auto period = std::uint64_t(std::max(burst.onCycles + burst.offCycles, 1));
    const auto on = std::uint64_t(std::max(burst.onCycles, 0));
    const std::uint64_t units = phase.UnitsPerCycle();
    const std::uint64_t step = phase.UnitsPerFrame();
    std::uint64_t u = phase.Units();
    for (std::size_t i = 0; i < frames; ++i) {
        if (cycles % period >= on) {
            leftChunk_[i] = 0;
            if (!rightChunk_.empty())
                rightChunk_[i] = 0;
        }
        u += step;
        if (u >= units) {
            u -= units;
            ++cycles;
        }
    }
}

std::size_t StreamedTone::StepBack(std::size_t frames) {
    const std::uint64_t back = std::min<std::uint64_t>(frames, framesSinceChange_);
    // Each channel's phase changed at the tone's change or before it.
    left_.StepBack(back);
    if (right_)
        right_->StepBack(back);
    rampFrame_ -= back;
    framesSinceChange_ -= back;
    return std::size_t(back);
}

void StreamedTone::SetFrequency(MilliHertz frequency) {
    settings_.frequency = frequency;
    left_.SetFrequency(frequency);
    // A right channel that only lags follows the left one.
    if (right_ && settings_.rightFrequency.value == 0)
        right_->SetFrequency(frequency);
    Changed();
}

void StreamedTone::SetFrequency(MilliHertz frequency, ChannelTone::Tables& left,
                                ChannelTone::Tables& right) {
    settings_.frequency = frequency;
    left_.SetFrequency(frequency, left);
    if (right_ && settings_.rightFrequency.value == 0)
        right_->SetFrequency(frequency, right);
    Changed();
}

void StreamedTone::TakeOver(ChannelTone::Tables& left, ChannelTone::Tables& right,
                            std::size_t fadeFrames) {
    left_.TakeOver(left, fadeFrames);
    if (right_ && settings_.rightFrequency.value == 0)
        right_->TakeOver(right, fadeFrames);
}

void StreamedTone::SetRightFrequency(MilliHertz frequency) {
    settings_.rightFrequency = frequency;
    if (right_)
        right_->SetFrequency(frequency.value != 0 ? frequency : settings_.frequency);
    Changed();
}

void StreamedTone::SetPeaks(double left, double right, std::size_t rampFrames) {
    settings_.peak = left;
    settings_.rightPeak = right;
    // Each channel ramps from the gain of the frame rendered last.
    leftRamp_ = {leftRamp_.Before(rampFrame_), left, rampFrames};
    rightRamp_ = {rightRamp_.Before(rampFrame_), right, rampFrames};
    rampFrame_ = 0;
    ownRightPeak_ =
        ownRightPeak_ || (format_.stereo && (right != left || rightRamp_.from != leftRamp_.from));
    Changed();
}
