// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading a RIFF/WAVE image in memory (PCM of 8, 16 or 24 bits, or 32-bit
// IEEE float; mono or stereo) and rendering it as 16-bit stereo frames with
// the left and right level applied, as the sound backends feed it to the
// server.

#include "engine/LevelWord.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

struct WaveImageView {
    int channels = 0;
    int samplesPerSecond = 0;
    int bitsPerSample = 0;
    bool isFloat = false;               // format 3: 32-bit IEEE samples
    std::span<const std::uint8_t> data; // the sample bytes, within the image

    std::size_t FrameBytes() const { return std::size_t(channels) * (bitsPerSample / 8); }
    // Whole frames; a trailing partial frame is not played.
    std::size_t Frames() const { return data.size() / FrameBytes(); }
};

// Nothing when the image is not a playable PCM wave. A data chunk that
// claims more bytes than the image holds is cut to what is there.
std::optional<WaveImageView> ParseWaveImage(std::span<const std::uint8_t> image);

// Applies one half of a level word (0..65535) as a linear gain, rounded to
// the nearest sample value.
inline std::int16_t ApplyLevel(std::int32_t sample, std::uint32_t level) {
    constexpr std::int64_t kHalf = kLevelHalfMax / 2;
    const std::int64_t p = std::int64_t(sample) * level;
    return static_cast<std::int16_t>((p >= 0 ? p + kHalf : p - kHalf) / kLevelHalfMax);
}

// Renders up to `frames` interleaved stereo frames starting at frame
// `position`, which it advances; with `loop` it wraps to the first frame
// without a gap. A mono image feeds both channels. `level` is a level word
// (left in the low half). Returns the frames rendered (fewer at the end of a
// sound played once).
std::size_t RenderStereo(const WaveImageView& view, std::size_t& position, bool loop,
                         std::uint32_t level, std::int16_t* out, std::size_t frames);

// The same, for images of more than 16 bits: as real numbers on the 16-bit
// scale (full scale 32767), the level applied without rounding.
std::size_t RenderStereoReal(const WaveImageView& view, std::size_t& position, bool loop,
                             std::uint32_t level, float* out, std::size_t frames);

// The same straight into a stream of 24-bit (3 bytes a sample) or float
// samples, little-endian: at full level every 24-bit or float sample passes
// unchanged.
std::size_t RenderStereoWide(const WaveImageView& view, std::size_t& position, bool loop,
                             std::uint32_t level, bool toFloat, std::uint8_t* out,
                             std::size_t frames);

// One sample on the stream's scale, from a value on the 16-bit scale.
void PutStreamSample(double value16, bool toFloat, std::uint8_t* out);
