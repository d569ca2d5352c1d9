// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the output stream plays, frame by frame: the current wave image and
// the tail of the sound it replaced. A looped image fades in; a stopped or
// replaced sound fades out from a copy of its next frames, so that the image
// it came from may be released as soon as it is stopped, and a change while
// playing is a short crossfade instead of a jump. When both sounds are
// periodic tones, the new one enters at the frame whose phase continues the
// old one's, so the crossfade only smooths what is left (a fraction of a
// frame, a level or waveform difference) and never passes through silence;
// a new waveform of the same cycle enters where it agrees best with the old
// one, as it may be shifted or inverted against it.
// A sound that ends by itself is not faded. Images and files are never
// touched: the fades exist only here. No locking: the owner serialises the
// calls.

#include "audio/QueuePlan.h"
#include "audio/StreamSample.h"
#include "audio/StreamedSound.h"
#include "audio/WaveImageView.h"
#include "engine/FrameSource.h"
#include "engine/SoundOutput.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

class CrossfadeMixer {
public:
    // Length of every fade in and out.
    static constexpr int kFadeMicroseconds = 4000;
    // The longest the next image takes to build after a hold.
    static constexpr int kBuildMicroseconds = 300000;
    // How long a sound held for a change goes on from its copy before it
    // fades out by itself. The stream writes the copy over everything it
    // takes back (up to its longest queue) and goes on refilling from it
    // while the next image is built: a shorter copy ran out before the
    // change came, so the stream fell silent and drained.
    static constexpr int kHoldMicroseconds = QueuePlan::kLongestQueueMs * 1000 + kBuildMicroseconds;

    // The longest drift between two tones during their crossfade, in
    // cycles: the crossfade of two frequencies is short enough that they
    // meet in phase in its middle and never part by more than this.
    static constexpr double kCrossfadeDriftCycles = 0.1;

    // Sets the stream's rate (the fades' length in frames); drops the tail.
    void SetRate(int samplesPerSecond);
    int FadeFrames() const { return int(fadeFrames_); }
    // The crossfade from a periodic tone to another (cycles in frames): the
    // full fade for the same cycle (a new level, waveform or channel),
    // shorter the further the frequencies are apart.
    std::size_t CrossfadeFrames(double oldCycle, double newCycle) const;

    // Starts `image` (fading in when looped) while what played before fades
    // out. A looped image whose `shape` is periodic enters at the frame
    // whose phase continues the periodic sound before it; anything else
    // starts from its first frame. `level` is the level word the old sound
    // was being played at.
    void Start(const WaveImageView& image, bool loop, std::uint32_t level,
               const ToneShape& shape = {});
    // Starts streaming `source` (fading in) while what played before fades
    // out: its frames are rendered as they are played, from the source's
    // own phase, in steady play straight into the stream (StreamedSound).
    // The source must outlive the sound: until Stop, Hold, Silence or the
    // next Start returns. Allocates its scratch here, never while rendering.
    void StartStream(FrameSource& source, std::uint32_t level);
    // The first half of a change: whatever plays goes on from a copy (no
    // image is read once it returns) until the next Start takes over, or
    // fades out at the copy's end when none comes.
    void Hold(std::uint32_t level);
    // Fades out whatever plays; a fade-out already under way goes on as it
    // is. When it returns no image is read any more.
    void Stop(std::uint32_t level);
    // The current sound comes in again with a fade, from where it was (after
    // the stream had been lost); the tail, too late now, is dropped.
    void FadeInAgain();
    // Forgets everything, at once.
    void Silence();
    // Takes back up to `frames` of the frames rendered last, so that they
    // are rendered again (the stream rewrites what it had queued but not yet
    // played). Never reaches back past the last Start, Hold, Stop or lost
    // stream, nor, for a streamed sound, past what its source can go back
    // over: the source goes back now, so that a change asked of it before
    // the next Render is heard from the first frame taken back. Returns the
    // frames taken back.
    std::size_t Rewind(std::size_t frames);

    // A sound was started and has neither ended nor been stopped.
    bool HasSound() const { return current_.has_value() || Holding(); }
    // The frames of the streamed source rendered into the output so far
    // (less those taken back); nothing when no streamed sound plays.
    std::optional<std::uint64_t> StreamFramesRendered() const {
        if (!current_ || !current_->streamed)
            return std::nullopt;
        return stream_->FramesRendered();
    }
    // Nothing is left to render.
    bool Silent() const { return !current_ && TailLeft() == 0; }

    // Renders up to `frames` interleaved stereo frames with the level word
    // applied; fewer only when the sound has ended (none when silent).
    std::size_t Render(std::int16_t* out, std::size_t frames, std::uint32_t level);
    // The same into a stream of the given sample format (S16 is the call
    // above): fades are mixed as real numbers and converted at the end.
    std::size_t Render(std::uint8_t* out, std::size_t frames, std::uint32_t level,
                       StreamSample sample);

private:
    template <class WriteSteady, class WriteMixed>
    std::size_t RenderThrough(std::size_t frames, std::uint32_t level, WriteSteady writeSteady,
                              WriteMixed writeMixed);
    struct Current {
        WaveImageView image;
        bool loop = false;
        ToneShape shape;
        std::size_t position = 0;
        std::size_t played = 0; // frames since it (re)started; the fade-in is the first
        std::size_t fade = 0;   // frames of its fade-in
        bool streamed = false;  // `stream_` plays, not `image`
    };
    // Where a periodic sound is: its cycle and the frame of its image that
    // plays next.
    struct Phase {
        double framesPerCycle = 0;
        std::size_t position = 0;
        std::size_t imageFrames = 0;
    };
    struct Tail {
        std::vector<float> frames; // stereo, levelled, unfaded
        std::size_t position = 0;  // frames played since it was made
        std::size_t fadeFrom = 0;  // where its fade-out begins
        std::size_t fade = 0;      // frames of its fade-out
        Phase origin;              // the phase of its first frame
        bool streamed = false;     // made of a streamed sound, whose cycle is not known
    };

    // The current sound's next `frames` (fewer when it ends) into the
    // scratch of its width, `renderedReal_` when wide, else `rendered_`,
    // level applied; returns how many.
    std::size_t RenderCurrent(bool wide, std::size_t frames, std::uint32_t level);
    // Adds what plays next into `out` (zeroed by it), advancing the sources.
    std::size_t Mix(float* out, std::size_t frames, std::uint32_t level);
    // Replaces the tail by the next `frames` of what plays, fading out from
    // `fadeFrom` on.
    void BakeTail(std::size_t frames, std::size_t fadeFrom, std::size_t fade, std::uint32_t level);
    std::optional<Phase> CurrentPhase() const;
    std::optional<Phase> TailPhase() const;
    std::optional<Phase> TailPhaseHeard() const;
    // The frames a tone's phase is read from when its cycle is not known:
    // two cycles down to 8 Hz at 48 kHz, 4 Hz at 96 kHz.
    static constexpr std::size_t kPhaseHeardFrames = 12000;
    static std::size_t EntryFrame(const Phase& old, const ToneShape& shape, std::size_t imageFrames,
                                  std::size_t fade);
    std::size_t AlignedEntry(const WaveImageView& image, std::size_t entry, double cycle,
                             std::uint32_t level);
    bool Steady() const {
        return current_ && TailLeft() == 0 && current_->played >= current_->fade;
    }
    bool Holding() const {
        return tail_.position < std::min(tail_.fadeFrom, tail_.frames.size() / 2);
    }
    std::size_t TailEnd() const {
        return std::min(tail_.frames.size() / 2, tail_.fadeFrom + tail_.fade);
    }
    std::size_t TailLeft() const {
        return tail_.position < TailEnd() ? TailEnd() - tail_.position : 0;
    }
    static float FadeInGain(std::size_t frame, std::size_t fade);
    static float FadeOutGain(std::size_t frame, std::size_t fade);
    void ClearTail();

    std::size_t fadeFrames_ = 384;
    std::size_t holdFrames_ = std::size_t(96000) * kHoldMicroseconds / 1000000;
    std::optional<Current> current_;
    std::optional<StreamedSound> stream_; // the streamed sound, while one plays
    Tail tail_;
    std::size_t rewindable_ = 0;         // frames rendered since the last event
    std::vector<float> baked_;           // the next tail while it is made
    std::vector<float> mixed_;           // scratch of Render
    std::vector<std::int16_t> rendered_; // scratch of Mix
    std::vector<float> renderedReal_;    // scratch of Mix for wider images
};
