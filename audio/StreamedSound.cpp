// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/StreamedSound.h"

#include "engine/LevelWord.h"

#include <algorithm>

namespace {
// `frames` of `from` into a stream of that sample format, level applied.
void WriteAs(StreamSample sample, const WaveImageView& from, std::uint32_t level, std::uint8_t* out,
             std::size_t frames) {
    std::size_t position = 0;
    if (sample == StreamSample::S16)
        RenderStereo(from, position, false, level, reinterpret_cast<std::int16_t*>(out), frames);
    else
        RenderStereoWide(from, position, false, level, sample == StreamSample::Float32, out,
                         frames);
}
} // namespace

StreamedSound::StreamedSound(FrameSource& source) : source_(&source) {
    const WaveFormat& format = source.Format();
    bytes_.resize(kChunkFrames * std::size_t(format.BytesPerFrame()));
    scratch_.channels = format.Channels();
    scratch_.samplesPerSecond = format.SamplesPerSecond();
    scratch_.bitsPerSample = format.BitsPerSample();
    scratch_.isFloat = format.IsFloat();
    scratch_.data = bytes_;
}

bool StreamedSound::RendersStraightInto(StreamSample sample) const {
    // 8-bit sources go to a 16-bit stream, which is not their own format.
    return scratch_.channels == 2 && scratch_.bitsPerSample != 8 &&
           StreamSampleFor(scratch_) == sample;
}

template <class Convert> void StreamedSound::ThroughScratch(std::size_t frames, Convert convert) {
    for (std::size_t done = 0; done < frames;) {
        const std::size_t n = std::min(kChunkFrames, frames - done);
        source_->Render(n, bytes_.data());
        WaveImageView chunk = scratch_;
        chunk.data = chunk.data.first(n * scratch_.FrameBytes());
        convert(chunk, n, done);
        done += n;
    }
    rendered_ += frames;
}

void StreamedSound::Render(std::uint8_t* out, std::size_t frames, std::uint32_t level,
                           StreamSample sample) {
    const std::size_t frameBytes = StreamFrameBytes(sample);
    if (!RendersStraightInto(sample)) {
        ThroughScratch(frames, [&](const WaveImageView& chunk, std::size_t n, std::size_t done) {
            WriteAs(sample, chunk, level, out + done * frameBytes, n);
        });
        return;
    }
    source_->Render(frames, out);
    rendered_ += frames;
    if (level == kFullLevel)
        return; // every sample of the stream's own format passes unchanged
    // The level in place: each frame is read before it is written over.
    WaveImageView own = scratch_;
    own.data = {out, frames * frameBytes};
    WriteAs(sample, own, level, out, frames);
}

void StreamedSound::Render16(std::int16_t* out, std::size_t frames, std::uint32_t level) {
    ThroughScratch(frames, [&](const WaveImageView& chunk, std::size_t n, std::size_t done) {
        std::size_t position = 0;
        RenderStereo(chunk, position, false, level, out + 2 * done, n);
    });
}

void StreamedSound::RenderReal(float* out, std::size_t frames, std::uint32_t level) {
    ThroughScratch(frames, [&](const WaveImageView& chunk, std::size_t n, std::size_t done) {
        std::size_t position = 0;
        RenderStereoReal(chunk, position, false, level, out + 2 * done, n);
    });
}

std::size_t StreamedSound::StepBack(std::size_t frames) {
    const std::size_t back =
        source_->StepBack(std::min<std::size_t>(frames, static_cast<std::size_t>(rendered_)));
    rendered_ -= back;
    return back;
}
