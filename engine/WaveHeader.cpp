// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/WaveHeader.h"

#include <cstring>

namespace {
void PutU16(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
}
void PutU32(std::uint8_t* p, std::uint32_t v) {
    PutU16(p, v & 0xFFFF);
    PutU16(p + 2, v >> 16);
}
constexpr std::uint32_t kFormatPcm = 1;
constexpr std::uint32_t kFormatFloat = 3;
} // namespace

void WriteWaveHeader(std::uint8_t* out, const WaveFormat& format, std::uint32_t dataLength) {
    const std::uint32_t channels = format.Channels();
    const std::uint32_t rate = format.SamplesPerSecond();
    const std::uint32_t bits = format.BitsPerSample();
    const std::uint32_t headerSize = static_cast<std::uint32_t>(WaveHeaderSize(format));
    const std::uint32_t pad = format.wide != WideSamples::None ? (dataLength & 1) : 0;
    const std::uint32_t formatChunk = format.IsFloat() ? 18 : 16;
    std::memcpy(out + 0, "RIFF", 4);
    PutU32(out + 4, headerSize - 8 + dataLength + pad);
    std::memcpy(out + 8, "WAVE", 4);
    std::memcpy(out + 12, "fmt ", 4);
    PutU32(out + 16, formatChunk);
    PutU16(out + 20, format.IsFloat() ? kFormatFloat : kFormatPcm);
    PutU16(out + 22, channels);
    PutU32(out + 24, rate);
    PutU32(out + 28, channels * rate * (bits / 8));
    PutU16(out + 32, (bits / 8) * channels);
    PutU16(out + 34, bits);
    std::uint8_t* p = out + 36;
    if (format.IsFloat()) {
        PutU16(p, 0); // no extension
        p += 2;
        std::memcpy(p, "fact", 4);
        PutU32(p + 4, 4);
        PutU32(p + 8, dataLength / static_cast<std::uint32_t>(format.BytesPerFrame()));
        p += 12;
    }
    std::memcpy(p, "data", 4);
    PutU32(p + 4, dataLength);
}
