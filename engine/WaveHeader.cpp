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
} // namespace

void WriteWaveHeader(std::uint8_t* out, const WaveFormat& format, std::uint32_t dataLength) {
    const std::uint32_t channels = format.Channels();
    const std::uint32_t rate = format.SamplesPerSecond();
    const std::uint32_t bits = format.BitsPerSample();
    std::memcpy(out + 0, "RIFF", 4);
    PutU32(out + 4, dataLength + 36);
    std::memcpy(out + 8, "WAVE", 4);
    std::memcpy(out + 12, "fmt ", 4);
    PutU32(out + 16, 16);
    PutU16(out + 20, 1); // PCM
    PutU16(out + 22, channels);
    PutU32(out + 24, rate);
    PutU32(out + 28, channels * rate * (bits / 8));
    PutU16(out + 32, (bits / 8) * channels);
    PutU16(out + 34, bits);
    std::memcpy(out + 36, "data", 4);
    PutU32(out + 40, dataLength);
}
