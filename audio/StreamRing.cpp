// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/StreamRing.h"

#include <algorithm>

StreamRing::StreamRing(FrameSource& source, std::size_t capacityFrames) : source_(&source) {
    const WaveFormat& format = source.Format();
    bytes_.resize(capacityFrames * std::size_t(format.BytesPerFrame()));
    view_.channels = format.Channels();
    view_.samplesPerSecond = format.SamplesPerSecond();
    view_.bitsPerSample = format.BitsPerSample();
    view_.isFloat = format.IsFloat();
    view_.data = bytes_;
}

void StreamRing::Ready(std::size_t position, std::size_t frames) {
    const std::size_t total = view_.Frames();
    if (ahead_ < frames) {
        // Rendered in at most two pieces: up to the ring's end, then from
        // its start.
        std::size_t at = (position + ahead_) % total;
        std::size_t left = frames - ahead_;
        while (left > 0) {
            const std::size_t n = std::min(left, total - at);
            source_->Render(n, bytes_.data() + at * view_.FrameBytes());
            at = (at + n) % total;
            left -= n;
        }
        ahead_ = frames;
    }
    ahead_ -= frames; // the reader reads them now
    read_ += frames;
}
