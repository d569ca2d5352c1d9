// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A steady tone streamed at any frequency of the fine grid: the sine or the
// alias-free square, triangle and sawtooth of the precise synthesis, each
// channel at its exact phase, computed in extended precision and rounded
// (or dithered) once into the format's samples by the image's own sample
// writer. Whole-hertz tones give the samples of the precise looped image.

#include "engine/ChannelTone.h"
#include "engine/FinePhaseSine.h"
#include "engine/FrameSource.h"
#include "engine/MilliHertz.h"
#include "engine/ToneGenTypes.h"
#include "engine/TpdfDither.h"
#include "engine/WaveFormat.h"
#include "engine/signals/ToneBurst.h"

#include <memory>
#include <optional>
#include <vector>

struct StreamedToneSettings {
    TTGWave wave = TTGWave::tgSine;
    MilliHertz frequency = MilliHertz::FromHertz(440);
    // Stereo only: the right channel's own frequency (0: the left one's),
    // and its lag behind the left in tenths of a degree (0..3600).
    MilliHertz rightFrequency{};
    int rightLagTenths = 0;
    // The peak of full scale, 0..1 (1: the sine's classic peak, 32767 steps
    // at 16 bits).
    double peak = 1.0;
    bool dither = false;
    // Tone bursts: the left channel's cycles counted exactly, ON whole
    // cycles sounding and OFF whole cycles silent, so that each burst
    // starts at phase zero at any frequency. Both channels play them.
    std::optional<BurstSettings> burst;

    bool RightHasItsOwn() const {
        return !burst && (rightFrequency.value != 0 || rightLagTenths != 0);
    }
};

class StreamedTone : public FrameSource {
public:
    // The format's rate must be divisible by 4 (else std::invalid_argument);
    // the frequencies are not checked against it (see FrequencyRange). Noise
    // plays as silence. May throw std::bad_alloc (a shape's tables).
    StreamedTone(const StreamedToneSettings& settings, const WaveFormat& format);

    const WaveFormat& Format() const override { return format_; }
    void Render(std::size_t frames, std::uint8_t* out) override;

    // Changes while streaming, between Render calls (from another thread
    // only with the caller's own hand-over). A frequency continues from the
    // phase reached, to the frame; for the shapes it builds new tables, so
    // it allocates and may throw std::bad_alloc. A peak is reached by a
    // straight ramp over `rampFrames`.
    void SetFrequency(MilliHertz frequency);
    void SetRightFrequency(MilliHertz frequency);
    void SetPeak(double peak, std::size_t rampFrames);

    const ChannelTone& Left() const { return left_; }
    const ChannelTone* Right() const { return right_ ? &*right_ : nullptr; }

private:
    static constexpr std::size_t kChunk = 512;

    // False in a burst's silent cycles.
    bool Sounding() const;

    StreamedToneSettings settings_;
    WaveFormat format_;
    FinePhaseSine sine_;
    ChannelTone left_;
    std::optional<ChannelTone> right_;
    TpdfDither dither_;
    double peak_;
    double peakStep_ = 0;
    std::size_t rampLeft_ = 0;
    std::vector<double> leftChunk_;
    std::vector<double> rightChunk_;
};
