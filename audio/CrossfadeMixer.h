#pragma once
// What the output stream plays, frame by frame: the current wave image and
// the tail of the sound it replaced. A looped image fades in; a stopped or
// replaced sound fades out from a copy of its next frames, so that the image
// it came from may be released as soon as it is stopped, and a change while
// playing is a short crossfade instead of a jump. A sound that ends by
// itself is not faded. Images and files are never touched: the fades exist
// only here. No locking: the owner serialises the calls.

#include "audio/StreamSample.h"
#include "audio/WaveImageView.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

class CrossfadeMixer {
public:
    // Length of every fade in and out.
    static constexpr int kFadeMicroseconds = 4000;

    // Sets the stream's rate (the fades' length in frames); drops the tail.
    void SetRate(int samplesPerSecond);
    int FadeFrames() const { return fadeFrames_; }

    // Starts `image` from its first frame (fading in when looped) while what
    // played before fades out. `level` is the level word the old sound was
    // being played at.
    void Start(const WaveImageView& image, bool loop, std::uint32_t level);
    // Fades out whatever plays. When it returns no image is read any more.
    void Stop(std::uint32_t level);
    // The current sound comes in again with a fade, from where it was (after
    // the stream had been lost); the tail, too late now, is dropped.
    void FadeInAgain();
    // Forgets everything, at once.
    void Silence();

    // A sound was started and has neither ended nor been stopped.
    bool HasSound() const { return current_.has_value(); }
    // Nothing is left to render.
    bool Silent() const { return !current_ && tailLeft() == 0; }

    // Renders up to `frames` interleaved stereo frames with the level word
    // applied; fewer only when the sound has ended (none when silent).
    std::size_t Render(std::int16_t* out, std::size_t frames, std::uint32_t level);
    // The same into a stream of the given sample format (S16 is the call
    // above): fades are mixed as real numbers and converted at the end.
    std::size_t Render(std::uint8_t* out, std::size_t frames, std::uint32_t level,
                       StreamSample sample);

private:
    struct Current {
        WaveImageView image;
        bool loop = false;
        std::size_t position = 0;
        std::size_t fadedIn = 0; // frames of the fade-in played so far
    };
    // Adds what plays next into `out` (zeroed by it), advancing the sources.
    std::size_t Mix(float* out, std::size_t frames, std::uint32_t level);
    std::size_t tailLeft() const { return tail_.size() / 2 - tailPosition_; }
    float FadeInGain(std::size_t frame) const;
    float FadeOutGain(std::size_t frame) const;

    std::size_t fadeFrames_ = 384;
    std::optional<Current> current_;
    std::vector<float> tail_; // stereo frames of the replaced sound, unfaded
    std::size_t tailPosition_ = 0;
    std::vector<float> baked_;           // the next tail while it is made
    std::vector<float> mixed_;           // scratch of Render
    std::vector<std::int16_t> rendered_; // scratch of Mix
    std::vector<float> renderedReal_;    // scratch of Mix for wider images
};
