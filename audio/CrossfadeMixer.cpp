#include "audio/CrossfadeMixer.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr std::size_t kChunkFrames = 1024;
}

void CrossfadeMixer::SetRate(int samplesPerSecond) {
    fadeFrames_ =
        std::max<std::size_t>(1, std::size_t(samplesPerSecond) * kFadeMicroseconds / 1000000);
    tail_.clear();
    tailPosition_ = 0;
}

// Both ramps run over the same frames with the same steps, so that during a
// crossfade the two gains always add up to one.
float CrossfadeMixer::FadeInGain(std::size_t frame) const {
    return frame >= fadeFrames_ ? 1.0f : float(frame + 1) / float(fadeFrames_ + 1);
}
float CrossfadeMixer::FadeOutGain(std::size_t frame) const {
    return 1.0f - FadeInGain(frame);
}

void CrossfadeMixer::Start(const WaveImageView& image, bool loop, std::uint32_t level) {
    Stop(level);
    current_ = Current{image, loop, 0, loop ? 0 : fadeFrames_};
}

void CrossfadeMixer::Stop(std::uint32_t level) {
    if (Silent())
        return;
    // The tail is what would have played next, old tail and fade-in
    // included, so the fade-out starts exactly where the sound was.
    baked_.resize(2 * fadeFrames_);
    const std::size_t frames = Mix(baked_.data(), fadeFrames_, level);
    baked_.resize(2 * frames);
    std::swap(tail_, baked_);
    tailPosition_ = 0;
    current_.reset();
}

void CrossfadeMixer::FadeInAgain() {
    tail_.clear();
    tailPosition_ = 0;
    if (current_)
        current_->fadedIn = 0;
}

void CrossfadeMixer::Silence() {
    current_.reset();
    tail_.clear();
    tailPosition_ = 0;
}

std::size_t CrossfadeMixer::Mix(float* out, std::size_t frames, std::uint32_t level) {
    std::fill(out, out + 2 * frames, 0.0f);
    std::size_t fromCurrent = 0;
    if (current_) {
        const bool wide = StreamSampleFor(current_->image) != StreamSample::S16;
        rendered_.resize(wide ? 0 : 2 * frames);
        renderedReal_.resize(wide ? 2 * frames : 0);
        fromCurrent = wide ? RenderStereoReal(current_->image, current_->position, current_->loop,
                                              level, renderedReal_.data(), frames)
                           : RenderStereo(current_->image, current_->position, current_->loop,
                                          level, rendered_.data(), frames);
        for (std::size_t i = 0; i < fromCurrent; ++i) {
            const float gain = FadeInGain(current_->fadedIn);
            if (current_->fadedIn < fadeFrames_)
                ++current_->fadedIn;
            out[2 * i] = gain * (wide ? renderedReal_[2 * i] : rendered_[2 * i]);
            out[2 * i + 1] = gain * (wide ? renderedReal_[2 * i + 1] : rendered_[2 * i + 1]);
        }
        if (fromCurrent < frames)
            current_.reset(); // played to its end
    }
    const std::size_t fromTail = std::min(frames, tailLeft());
    for (std::size_t i = 0; i < fromTail; ++i, ++tailPosition_) {
        const float gain = FadeOutGain(tailPosition_);
        out[2 * i] += gain * tail_[2 * tailPosition_];
        out[2 * i + 1] += gain * tail_[2 * tailPosition_ + 1];
    }
    if (tailLeft() == 0) {
        tail_.clear();
        tailPosition_ = 0;
    }
    return std::max(fromCurrent, fromTail);
}

std::size_t CrossfadeMixer::Render(std::int16_t* out, std::size_t frames, std::uint32_t level) {
    if (current_ && tailLeft() == 0 && current_->fadedIn >= fadeFrames_) {
        // The steady case: the image alone, straight into the stream.
        const std::size_t done =
            RenderStereo(current_->image, current_->position, current_->loop, level, out, frames);
        if (done < frames)
            current_.reset();
        return done;
    }
    std::size_t done = 0;
    mixed_.resize(2 * kChunkFrames);
    while (done < frames && !Silent()) {
        const std::size_t want = std::min(kChunkFrames, frames - done);
        const std::size_t got = Mix(mixed_.data(), want, level);
        for (std::size_t i = 0; i < 2 * got; ++i)
            out[2 * done + i] =
                static_cast<std::int16_t>(std::clamp(std::lround(mixed_[i]), -32768L, 32767L));
        done += got;
        if (got < want)
            break;
        if (current_ && tailLeft() == 0 && current_->fadedIn >= fadeFrames_)
            return done + Render(out + 2 * done, frames - done, level);
    }
    return done;
}

std::size_t CrossfadeMixer::Render(std::uint8_t* out, std::size_t frames, std::uint32_t level,
                                   StreamSample sample) {
    if (sample == StreamSample::S16)
        return Render(reinterpret_cast<std::int16_t*>(out), frames, level);
    const bool toFloat = sample == StreamSample::Float32;
    const std::size_t frameBytes = StreamFrameBytes(sample);
    const auto steady = [this] {
        return current_ && tailLeft() == 0 && current_->fadedIn >= fadeFrames_;
    };
    std::size_t done = 0;
    mixed_.resize(2 * kChunkFrames);
    while (done < frames && !Silent()) {
        if (steady()) {
            // The image alone, straight into the stream: exact at full level.
            const std::size_t got =
                RenderStereoWide(current_->image, current_->position, current_->loop, level,
                                 toFloat, out + done * frameBytes, frames - done);
            if (got < frames - done)
                current_.reset();
            return done + got;
        }
        const std::size_t want = std::min(kChunkFrames, frames - done);
        const std::size_t got = Mix(mixed_.data(), want, level);
        for (std::size_t i = 0; i < 2 * got; ++i)
            PutStreamSample(mixed_[i], toFloat, out + done * frameBytes + i * (frameBytes / 2));
        done += got;
        if (got < want)
            break;
    }
    return done;
}
