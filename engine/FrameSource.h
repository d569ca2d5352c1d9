// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A signal the output pulls frames from as it plays, instead of looping a
// prebuilt image: each call continues where the last one ended.

#include "engine/WaveFormat.h"

#include <cstddef>
#include <cstdint>

class FrameSource {
public:
    virtual ~FrameSource() = default;

    // The sample format and rate of every frame rendered.
    virtual const WaveFormat& Format() const = 0;
    // Writes the next `frames` frames at `out`, frames x BytesPerFrame()
    // bytes, interleaved when stereo. Takes no lock and allocates nothing,
    // so that a feeding callback may call it.
    virtual void Render(std::size_t frames, std::uint8_t* out) = 0;
    // Goes back up to `frames` of the frames rendered last, so that the
    // next Render gives them again from where they began, with whatever
    // change was asked since. Returns the frames gone back: 0 from a source
    // that only goes forward; never more than since its last change. An
    // output takes back of what it queued only what its source goes back
    // over (the rest plays as it was). Takes no lock and allocates nothing.
    virtual std::size_t StepBack(std::size_t frames) {
        (void)frames;
        return 0;
    }
};
