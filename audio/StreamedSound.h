// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A streamed sound as the mixer plays it: the frames of a FrameSource,
// rendered as the output takes them, with the level word applied. In steady
// play a stereo source of the stream's own sample format renders straight
// into the output's buffer, so that the feed costs the rendering alone (at
// full level its samples pass as they are; another level is applied in
// place). A mono source, another format, and the frames a fade mixes as
// real numbers pass through a small scratch, read as an image is.
//
// Nothing rendered is kept. The output takes back what it queued but the
// server has not played (a rewrite at a change or a stop), and the source
// goes back over those frames (FrameSource::StepBack) to render them again
// from their exact phase: as they were, or with a change asked of the
// source since, heard from the first of them. A source goes back as far as
// its last change, and that reaches every frame a rewrite can take back:
// the change was taken at the frame the rewrite before it went back to, so
// every frame queued after it is already the change's own. What a source
// cannot go back over stays in the queue as it was.
// The scratch is made with the sound; rendering takes no lock and
// allocates nothing.

#include "audio/StreamSample.h"
#include "audio/WaveImageView.h"
#include "engine/FrameSource.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class StreamedSound {
public:
    // Frames rendered at a time through the scratch.
    static constexpr std::size_t kChunkFrames = 1024;

    // `source` must outlive every call.
    explicit StreamedSound(FrameSource& source);

    // The source's samples are wider than 16 bits: fades mix them as real
    // numbers (RenderReal), else as 16-bit ones (Render16).
    bool Wide() const { return StreamSampleFor(scratch_) != StreamSample::S16; }

    // The next `frames` into a stream of that sample format, level applied.
    void Render(std::uint8_t* out, std::size_t frames, std::uint32_t level, StreamSample sample);
    // The next `frames` as interleaved 16-bit stereo, level applied.
    void Render16(std::int16_t* out, std::size_t frames, std::uint32_t level);
    // The next `frames` as real numbers on the 16-bit scale, level applied
    // without rounding.
    void RenderReal(float* out, std::size_t frames, std::uint32_t level);

    // Takes back up to `frames` of those rendered last: the source goes
    // back over them. Returns the frames taken back.
    std::size_t StepBack(std::size_t frames);
    // The source's frames rendered so far, less those taken back.
    std::uint64_t FramesRendered() const { return rendered_; }

private:
    // The stream carries the source's own samples, two channels a frame.
    bool RendersStraightInto(StreamSample sample) const;
    // Renders `frames` through the scratch in chunks, each handed to
    // `convert(scratchView, frames, doneBefore)`.
    template <class Convert> void ThroughScratch(std::size_t frames, Convert convert);

    FrameSource* source_;
    std::vector<std::uint8_t> bytes_;
    WaveImageView scratch_; // over `bytes_`, in the source's format
    std::uint64_t rendered_ = 0;
};
