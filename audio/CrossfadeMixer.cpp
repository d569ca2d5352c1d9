// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/CrossfadeMixer.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr std::size_t kChunkFrames = 1024;
} // namespace

void CrossfadeMixer::SetRate(int samplesPerSecond) {
    fadeFrames_ =
        std::max<std::size_t>(1, std::size_t(samplesPerSecond) * kFadeMicroseconds / 1000000);
    holdFrames_ = std::size_t(samplesPerSecond) * kHoldMicroseconds / 1000000 + fadeFrames_;
    ClearTail();
    rewindable_ = 0;
}

// Both ramps run over the same frames with the same steps: where a fade-in
// and a fade-out start on the same frame (a change), their gains add up to
// one. Neither reaches zero or one inside the fade, so its first and last
// frames are neither dropped nor doubled.
float CrossfadeMixer::FadeInGain(std::size_t frame, std::size_t fade) {
    return frame >= fade ? 1.0f : float(frame + 1) / float(fade + 1);
}
float CrossfadeMixer::FadeOutGain(std::size_t frame, std::size_t fade) {
    return 1.0f - FadeInGain(frame, fade);
}

// Two tones of different frequency drift apart during a crossfade; where
// they are out of phase the sum dips. Met in phase in the middle of a
// crossfade this short, they never part by more than a small fraction of a
// cycle.
std::size_t CrossfadeMixer::CrossfadeFrames(double oldCycle, double newCycle) const {
    if (oldCycle <= 0 || newCycle <= 0)
        return fadeFrames_;
    const double cyclesPerFrame = std::abs(1.0 / oldCycle - 1.0 / newCycle);
    if (cyclesPerFrame * double(fadeFrames_) <= kCrossfadeDriftCycles)
        return fadeFrames_;
    return std::clamp<std::size_t>(std::size_t(kCrossfadeDriftCycles / cyclesPerFrame), 1,
                                   fadeFrames_);
}

void CrossfadeMixer::ClearTail() {
    tail_ = Tail{};
}

std::optional<CrossfadeMixer::Phase> CrossfadeMixer::CurrentPhase() const {
    if (!current_ || !current_->loop || current_->shape.framesPerCycle <= 0)
        return std::nullopt;
    const std::size_t total = current_->image.Frames();
    return Phase{current_->shape.framesPerCycle, current_->position % total, total};
}

std::optional<CrossfadeMixer::Phase> CrossfadeMixer::TailPhase() const {
    const Phase& o = tail_.origin;
    if (o.framesPerCycle <= 0 || o.imageFrames == 0)
        return std::nullopt;
    return Phase{o.framesPerCycle, (o.position + tail_.position) % o.imageFrames, o.imageFrames};
}

// The frame of the new image whose phase continues the old sound's: the
// same frame when the cycle and loop are the same (a new level, waveform or
// channel); otherwise the frame from which the new tone is, in the middle
// of the crossfade, at the same fraction of a cycle as the old one.
std::size_t CrossfadeMixer::EntryFrame(const Phase& old, const ToneShape& shape,
                                       std::size_t imageFrames, std::size_t fade) {
    if (shape.framesPerCycle <= 0 || imageFrames == 0)
        return 0;
    if (old.framesPerCycle == shape.framesPerCycle && old.imageFrames == imageFrames)
        return old.position % imageFrames;
    const double middle = double(fade) / 2;
    const double cycles = (double(old.position) + middle) / old.framesPerCycle;
    const double phase = cycles - std::floor(cycles);
    const double whole = std::ceil(middle / shape.framesPerCycle);
    return std::size_t(std::llround((phase + whole) * shape.framesPerCycle - middle)) % imageFrames;
}

void CrossfadeMixer::BakeTail(std::size_t frames, std::size_t fadeFrom, std::size_t fade,
                              std::uint32_t level) {
    const std::optional<Phase> origin = current_ ? CurrentPhase() : TailPhase();
    // The tail is what would have played next, old tail and fade-in
    // included, so the fade-out starts exactly where the sound was.
    baked_.resize(2 * frames);
    const std::size_t got = Mix(baked_.data(), frames, level);
    baked_.resize(2 * got);
    std::swap(tail_.frames, baked_);
    tail_.position = 0;
    tail_.fadeFrom = fadeFrom;
    tail_.fade = fade;
    tail_.origin = origin.value_or(Phase{});
    tail_.streamed = current_ ? current_->streamed : tail_.streamed;
    current_.reset();
    rewindable_ = 0;
}

// A new waveform of the same cycle (a square after a sine, a sawtooth after
// a triangle) may be shifted or inverted against the old one: crossfaded
// frame for frame they would cancel in the middle. The new image enters at
// the offset within a cycle (in 64 steps at most) whose frames agree best
// with the old sound's next ones, so the crossfade never dips. A new level
// or channel of the same waveform agrees best at the same frame.
std::size_t CrossfadeMixer::AlignedEntry(const WaveImageView& image, std::size_t entry,
                                         double cycle, std::uint32_t level) {
    const std::size_t total = image.Frames();
    const std::size_t left =
        tail_.frames.size() / 2 > tail_.position ? tail_.frames.size() / 2 - tail_.position : 0;
    const std::size_t frames = std::min(left, fadeFrames_);
    const std::size_t cycleFrames = std::size_t(std::llround(cycle));
    if (frames == 0 || cycleFrames < 2 || total == 0)
        return entry;
    const float* old = tail_.frames.data() + 2 * tail_.position;
    const bool wide = StreamSampleFor(image) != StreamSample::S16;
    rendered_.resize(wide ? 0 : 2 * frames);
    renderedReal_.resize(wide ? 2 * frames : 0);
    const std::size_t step = std::max<std::size_t>(1, cycleFrames / 64);
    std::size_t best = entry;
    double bestScore = 0;
    for (std::size_t offset = 0; offset < cycleFrames; offset += step) {
        std::size_t position = (entry + offset) % total;
        const std::size_t start = position;
        const std::size_t got =
            wide ? RenderStereoReal(image, position, true, level, renderedReal_.data(), frames)
                 : RenderStereo(image, position, true, level, rendered_.data(), frames);
        double score = 0;
        for (std::size_t i = 0; i < 2 * got; ++i)
            score += double(old[i]) * (wide ? renderedReal_[i] : rendered_[i]);
        if (offset == 0 || score > bestScore) {
            bestScore = score;
            best = start;
        }
    }
    return best;
}

// The phase of a tone the mixer was not told the cycle of (a streamed
// one), from the rising zero crossings of the tail's next frames on its
// louder channel; nothing when they hold fewer than two.
std::optional<CrossfadeMixer::Phase> CrossfadeMixer::TailPhaseHeard() const {
    const std::size_t left =
        tail_.frames.size() / 2 > tail_.position ? tail_.frames.size() / 2 - tail_.position : 0;
    const std::size_t frames = std::min(left, kPhaseHeardFrames);
    const float* next = tail_.frames.data() + 2 * tail_.position;
    double energy[2] = {0, 0};
    for (std::size_t i = 0; i < 2 * frames; ++i)
        energy[i % 2] += double(next[i]) * next[i];
    const std::size_t channel = energy[1] > energy[0] ? 1 : 0;
    double first = -1, last = -1;
    double shortest = 1e300, longest = 0;
    std::size_t crossings = 0;
    for (std::size_t i = 0; i + 1 < frames; ++i) {
        const double a = next[2 * i + channel], b = next[2 * i + 2 + channel];
        if (a < 0 && b >= 0) {
            const double at = double(i) + a / (a - b);
            if (crossings++ > 0) {
                shortest = std::min(shortest, at - last);
                longest = std::max(longest, at - last);
            } else {
                first = at;
            }
            last = at;
        }
    }
    if (crossings < 2)
        return std::nullopt;
    const double cycle = (last - first) / double(crossings - 1);
    // Only a steady tone has a phase to continue (not bursts, not noise).
    if (longest - shortest > std::max(1.0, 0.01 * cycle))
        return std::nullopt;
    // Its first frame stands `first` frames (less whole cycles) before a
    // cycle's start.
    return Phase{cycle, std::size_t(std::llround(cycle - std::fmod(first, cycle))), 0};
}

void CrossfadeMixer::Start(const WaveImageView& image, bool loop, std::uint32_t level,
                           const ToneShape& shape) {
    const std::size_t total = image.Frames();
    std::optional<Phase> old;
    const bool sounding = Holding() || !Silent();
    if (sounding)
        old = current_ ? CurrentPhase() : TailPhase();
    bool baked = false;
    if (sounding && !old && loop && shape.framesPerCycle > 0 &&
        (current_ ? current_->streamed : tail_.streamed)) {
        // A streamed tone tells no cycle: its next frames show where it is,
        // so that the new tone enters in step rather than at its start.
        if (!Holding()) {
            BakeTail(std::max(fadeFrames_, kPhaseHeardFrames), 0, fadeFrames_, level);
            baked = true;
        }
        old = TailPhaseHeard();
    }
    std::size_t entry = 0, fade = fadeFrames_;
    if (loop && old && shape.framesPerCycle > 0) {
        fade = CrossfadeFrames(old->framesPerCycle, shape.framesPerCycle);
        entry = EntryFrame(*old, shape, total, fade);
    }
    if (Holding()) {
        // The held copy goes on, fading out from here.
        tail_.fadeFrom = tail_.position;
        tail_.fade = fade;
    } else if (baked) {
        tail_.fade = fade;
    } else if (!Silent()) {
        BakeTail(fade, 0, fade, level);
    }
    if (loop && old && shape.framesPerCycle > 0 && old->framesPerCycle == shape.framesPerCycle)
        entry = AlignedEntry(image, entry, shape.framesPerCycle, level);
    current_ = Current{image, loop, shape, entry, loop ? 0 : fade, fade};
    rewindable_ = 0;
}

void CrossfadeMixer::StartStream(FrameSource& source, std::uint32_t level) {
    if (Holding()) {
        tail_.fadeFrom = tail_.position; // the held copy fades out from here
        tail_.fade = fadeFrames_;
    } else if (!Silent()) {
        BakeTail(fadeFrames_, 0, fadeFrames_, level);
    }
    // Nothing renders the old source any more: the old sound is in the tail.
    current_.reset();
    stream_.emplace(source);
    current_ = Current{WaveImageView{}, true, ToneShape{}, 0, 0, fadeFrames_, true};
    rewindable_ = 0;
}

void CrossfadeMixer::Hold(std::uint32_t level) {
    // A sound already fading out has nothing to hold: its fade goes on.
    if (Silent() || Holding() || !current_)
        return;
    BakeTail(holdFrames_, holdFrames_ - fadeFrames_, fadeFrames_, level);
}

void CrossfadeMixer::Stop(std::uint32_t level) {
    if (Silent())
        return;
    if (Holding()) {
        tail_.fadeFrom = tail_.position; // the copy fades out from here
        tail_.fade = fadeFrames_;
        rewindable_ = 0;
        return;
    }
    // Already fading out (a second Stop, perhaps after the stream took
    // back the queued fade to write it again): fading the fade again would
    // square its gain and shorten it to a click.
    if (!current_)
        return;
    BakeTail(fadeFrames_, 0, fadeFrames_, level);
}

void CrossfadeMixer::FadeInAgain() {
    ClearTail();
    rewindable_ = 0;
    if (current_) {
        current_->played = 0;
        current_->fade = fadeFrames_;
    }
}

void CrossfadeMixer::Silence() {
    current_.reset();
    ClearTail();
    rewindable_ = 0;
}

std::size_t CrossfadeMixer::Rewind(std::size_t frames) {
    std::size_t k = std::min(frames, rewindable_);
    if (current_ && current_->streamed)
        k = stream_->StepBack(k);
    if (k == 0)
        return 0;
    if (current_) {
        Current& c = *current_;
        // A streamed sound's source went back by itself, above.
        if (!c.streamed && c.loop) {
            const std::size_t total = c.image.Frames();
            c.position = (c.position % total + total - k % total) % total;
        } else if (!c.streamed) {
            c.position -= k;
        }
        c.played -= k;
    }
    tail_.position -= k;
    rewindable_ -= k;
    return k;
}

std::size_t CrossfadeMixer::RenderCurrent(bool wide, std::size_t frames, std::uint32_t level) {
    rendered_.resize(wide ? 0 : 2 * frames);
    renderedReal_.resize(wide ? 2 * frames : 0);
    Current& c = *current_;
    if (c.streamed) {
        if (wide)
            stream_->RenderReal(renderedReal_.data(), frames, level);
        else
            stream_->Render16(rendered_.data(), frames, level);
        return frames;
    }
    return wide ? RenderStereoReal(c.image, c.position, c.loop, level, renderedReal_.data(), frames)
                : RenderStereo(c.image, c.position, c.loop, level, rendered_.data(), frames);
}

std::size_t CrossfadeMixer::Mix(float* out, std::size_t frames, std::uint32_t level) {
    std::fill(out, out + 2 * frames, 0.0f);
    std::size_t fromCurrent = 0;
    bool ended = false;
    if (current_) {
        const bool wide = current_->streamed
                              ? stream_->Wide()
                              : StreamSampleFor(current_->image) != StreamSample::S16;
        fromCurrent = RenderCurrent(wide, frames, level);
        for (std::size_t i = 0; i < fromCurrent; ++i) {
            const float gain = FadeInGain(current_->played + i, current_->fade);
            out[2 * i] = gain * (wide ? renderedReal_[2 * i] : rendered_[2 * i]);
            out[2 * i + 1] = gain * (wide ? renderedReal_[2 * i + 1] : rendered_[2 * i + 1]);
        }
        current_->played += fromCurrent;
        if (fromCurrent < frames) {
            current_.reset(); // played to its end
            ended = true;
        }
    }
    const std::size_t fromTail = std::min(frames, TailLeft());
    for (std::size_t i = 0; i < fromTail; ++i) {
        const std::size_t t = tail_.position + i;
        const float gain = t < tail_.fadeFrom ? 1.0f : FadeOutGain(t - tail_.fadeFrom, tail_.fade);
        out[2 * i] += gain * tail_.frames[2 * t];
        out[2 * i + 1] += gain * tail_.frames[2 * t + 1];
    }
    const std::size_t done = std::max(fromCurrent, fromTail);
    // The tail's position runs on past its end, so that Rewind finds it.
    tail_.position += done;
    rewindable_ = ended ? 0 : rewindable_ + done;
    return done;
}

// Steady play goes straight from the image or the streamed source into the
// stream (`writeSteady` renders up to `want` frames at frame `done` and says
// how many); fades and crossfades are mixed as real numbers in chunks and
// converted by `writeMixed`.
template <class WriteSteady, class WriteMixed>
std::size_t CrossfadeMixer::RenderThrough(std::size_t frames, std::uint32_t level,
                                          WriteSteady writeSteady, WriteMixed writeMixed) {
    std::size_t done = 0;
    mixed_.resize(2 * kChunkFrames);
    while (done < frames && !Silent()) {
        if (Steady()) {
            const std::size_t want = frames - done;
            const std::size_t got = writeSteady(done, want);
            current_->played += got;
            tail_.position += got;
            rewindable_ += got;
            done += got;
            if (got < want) {
                current_.reset();
                rewindable_ = 0;
                break;
            }
            continue;
        }
        const std::size_t want = std::min(kChunkFrames, frames - done);
        const std::size_t got = Mix(mixed_.data(), want, level);
        writeMixed(done, got);
        done += got;
        if (got < want)
            break;
    }
    return done;
}

std::size_t CrossfadeMixer::Render(std::int16_t* out, std::size_t frames, std::uint32_t level) {
    return RenderThrough(
        frames, level,
        [&](std::size_t done, std::size_t want) {
            if (current_->streamed) {
                stream_->Render(reinterpret_cast<std::uint8_t*>(out + 2 * done), want, level,
                                StreamSample::S16);
                return want;
            }
            return RenderStereo(current_->image, current_->position, current_->loop, level,
                                out + 2 * done, want);
        },
        [&](std::size_t done, std::size_t got) {
            for (std::size_t i = 0; i < 2 * got; ++i)
                out[2 * done + i] =
                    static_cast<std::int16_t>(std::clamp(std::lround(mixed_[i]), -32768L, 32767L));
        });
}

std::size_t CrossfadeMixer::Render(std::uint8_t* out, std::size_t frames, std::uint32_t level,
                                   StreamSample sample) {
    if (sample == StreamSample::S16)
        return Render(reinterpret_cast<std::int16_t*>(out), frames, level);
    const bool toFloat = sample == StreamSample::Float32;
    const std::size_t frameBytes = StreamFrameBytes(sample);
    return RenderThrough(
        frames, level,
        [&](std::size_t done, std::size_t want) {
            if (current_->streamed) {
                stream_->Render(out + done * frameBytes, want, level, sample);
                return want;
            }
            // Exact at full level.
            return RenderStereoWide(current_->image, current_->position, current_->loop, level,
                                    toFloat, out + done * frameBytes, want);
        },
        [&](std::size_t done, std::size_t got) {
            for (std::size_t i = 0; i < 2 * got; ++i)
                PutStreamSample(mixed_[i], toFloat, out + done * frameBytes + i * (frameBytes / 2));
        });
}
