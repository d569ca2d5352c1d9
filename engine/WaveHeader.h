#pragma once
// The RIFF/WAVE image: a 44-byte header, L bytes of samples and 32 bytes of
// padding at the zero level, so that a reader running a little past the data
// hears silence.

#include "engine/WaveFormat.h"

#include <cstddef>
#include <cstdint>

inline constexpr std::size_t kWaveHeaderSize = 44;
inline constexpr std::size_t kWavePaddingSize = 32;

inline constexpr std::size_t WaveImageSize(std::uint32_t dataLength) {
    return kWaveHeaderSize + dataLength + kWavePaddingSize;
}

// Writes the 44 header bytes for the format and data length L. The RIFF
// chunk covers header and data but not the padding; no pad byte is added for
// an odd L.
void WriteWaveHeader(std::uint8_t* out, const WaveFormat& format, std::uint32_t dataLength);
