// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A steady tone streamed at any frequency of the fine grid: the sine or the
// alias-free square, triangle and sawtooth of the precise synthesis, each
// channel at its exact phase, computed from it within some 1e-13 of the peak
// and rounded (or dithered) once into the format's samples by the image's
// own sample writer. Whole-hertz tones give the samples of the precise
// looped image within a step of the format.

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
    // Stereo only: the right channel's own peak (none: `peak`).
    std::optional<double> rightPeak;
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

    // Goes back up to `frames` frames, never past the last change: the
    // next Render continues from the exact phase, cycle count and level
    // those frames ago, so that an output may take back what it queued and
    // have a change heard from there. The dither goes on with new values.
    std::size_t StepBack(std::size_t frames) override;

    // Changes while streaming, between Render calls (from another thread
    // only with the caller's own hand-over). A frequency continues from the
    // phase reached, to the frame; for the shapes it builds new tables, so
    // it allocates and may throw std::bad_alloc. A peak is reached by a
    // straight ramp over `rampFrames`, each channel from its own level.
    void SetFrequency(MilliHertz frequency);
    // The same with a shape's tables made ahead (ChannelTone::RetuneTables,
    // for the right channel with its lag) swapped in: takes no lock and
    // allocates nothing; the tables get the old ones back.
    void SetFrequency(MilliHertz frequency, ChannelTone::Tables& left, ChannelTone::Tables& right);
    // Exact tables for the frequency that plays take over from the ones
    // made to bridge their build, by a crossfade (ChannelTone::TakeOver);
    // the tables get the old ones back and must be kept until the next
    // change of frequency or takeover. Not a change: a step back may reach
    // before it.
    void TakeOver(ChannelTone::Tables& left, ChannelTone::Tables& right, std::size_t fadeFrames);
    void SetRightFrequency(MilliHertz frequency);
    void SetPeak(double peak, std::size_t rampFrames) { SetPeaks(peak, peak, rampFrames); }
    void SetPeaks(double left, double right, std::size_t rampFrames);

    const ChannelTone& Left() const { return left_; }
    const ChannelTone* Right() const { return right_ ? &*right_ : nullptr; }

private:
    static constexpr std::size_t kChunk = 512;

    // A straight ramp from one peak to another, as a function of the frames
    // since it began, so that stepping back finds each frame's gain again.
    struct PeakRamp {
        double from = 1;
        double to = 1;
        std::size_t frames = 0;
        // The gain of frame `n` of the ramp (n = 0: its first).
        double At(std::uint64_t n) const {
            return n >= frames ? to : from + (to - from) * double(n + 1) / double(frames);
        }
        // The gain of the frame before frame `n`.
        double Before(std::uint64_t n) const { return n == 0 ? from : At(n - 1); }
    };

    // Each value times the ramp's gain for its frame, the first `first`
    // frames into the ramp.
    static void ApplyRamp(const PeakRamp& ramp, std::uint64_t first, double* values,
                          std::size_t frames);
    // Zeroes the chunk's frames in a burst's silent cycles, the left
    // channel having stood at `phase` after `cycles` cycles at its start.
    void SilenceOffCycles(const StreamPhase& phase, std::uint64_t cycles, std::size_t frames);
    // A change was taken: no step back reaches before it.
    void Changed() { framesSinceChange_ = 0; }

    StreamedToneSettings settings_;
    WaveFormat format_;
    FinePhaseSine sine_;
    ChannelTone left_;
    std::optional<ChannelTone> right_;
    TpdfDither dither_;
    PeakRamp leftRamp_;
    PeakRamp rightRamp_;
    std::uint64_t rampFrame_ = 0; // frames since the ramps began
    bool ownRightPeak_ = false;   // the right channel's samples scaled on their own
    std::uint64_t framesSinceChange_ = 0;
    std::vector<double> leftChunk_;
    std::vector<double> rightChunk_;
};
