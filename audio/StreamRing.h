// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A streamed sound as the mixer plays it: a ring of the frames a
// FrameSource rendered last, read as a looped image whose frames are
// rendered just before they are read. The output stream takes back what it
// queued but the server has not played (a rewrite at a change or a stop):
// those frames are still in the ring, so they are read again as they were,
// at their exact phase, and the source goes on from where it was. At a
// change of the source itself the ring asks it to step back instead, so
// that it renders them again with the change. The ring is made when the sound starts
// (it allocates then); rendering takes no lock and allocates nothing.

#include "audio/WaveImageView.h"
#include "engine/FrameSource.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class StreamRing {
public:
    // Holds `capacityFrames` frames of `source`, which must outlive every
    // read of the ring.
    StreamRing(FrameSource& source, std::size_t capacityFrames);

    // The ring as a looped image; its frames are valid only as Ready said.
    const WaveImageView& View() const { return view_; }
    // The next `frames` from `position` (at most half the ring) are about
    // to be read: renders those not yet rendered.
    void Ready(std::size_t position, std::size_t frames);
    // How far the reader may step back: the frames still in the ring
    // behind the reading position.
    std::size_t Reach() const { return view_.Frames() - ahead_; }
    // The reader stepped back `frames` (at most Reach(), a rewrite): those
    // come again from the ring.
    void StepBack(std::size_t frames) {
        ahead_ += frames;
        read_ -= frames;
    }
    // The frames stepped back over are rendered again by the source, from
    // where they began (as far back as it can go; the rest stay as they
    // were), so that a change asked of it now is heard from the reader's
    // position.
    void RenderAgain() { ahead_ -= source_->StepBack(ahead_); }
    // The source's frames read so far (those stepped back over not
    // counted): where the reader stands in the source.
    std::uint64_t FramesRead() const { return read_; }

private:
    FrameSource* source_;
    std::vector<std::uint8_t> bytes_;
    WaveImageView view_;
    std::size_t ahead_ = 0; // rendered frames from the reading position on
    std::uint64_t read_ = 0;
};
