// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The RIFF/WAVE image: a header, L bytes of samples and 32 bytes of padding
// at the zero level, so that a reader running a little past the data hears
// silence. Whole-number samples have the plain 44-byte PCM header; float
// samples have format 3 with an 18-byte format chunk and the fact chunk
// that non-PCM formats need, 58 bytes in all.

#include "engine/WaveFormat.h"

#include <cstddef>
#include <cstdint>

inline constexpr std::size_t kWaveHeaderSize = 44;
inline constexpr std::size_t kFloatWaveHeaderSize = 58;
inline constexpr std::size_t kWavePaddingSize = 32;

inline std::size_t WaveHeaderSize(const WaveFormat& format) {
    return format.IsFloat() ? kFloatWaveHeaderSize : kWaveHeaderSize;
}

inline constexpr std::size_t WaveImageSize(std::uint32_t dataLength) {
    return kWaveHeaderSize + dataLength + kWavePaddingSize;
}
inline std::size_t WaveImageSize(const WaveFormat& format, std::uint32_t dataLength) {
    return WaveHeaderSize(format) + dataLength + kWavePaddingSize;
}

// Writes the WaveHeaderSize(format) header bytes for the format and data
// length L. The RIFF chunk covers header and data but not the padding. For
// 8 and 16 bits no pad byte is counted for an odd L, as always; for wider
// samples the RIFF size counts the pad byte an odd L needs (the padding
// holds it).
void WriteWaveHeader(std::uint8_t* out, const WaveFormat& format, std::uint32_t dataLength);
