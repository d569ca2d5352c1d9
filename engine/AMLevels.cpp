// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/AMLevels.h"

#include "core/ByteStream.h"

namespace {
constexpr std::int32_t kStoredHighestIndex = kAMLevelCount - 1;
constexpr std::size_t kRecordSize = 12;
} // namespace

void AMLevels::Reset() {
    for (int i = 0; i < kAMLevelCount; ++i) {
        amplitudes[i] = 0;
        waveforms[i] = TTGWave::tgSine;
        frequencies[i] = static_cast<float>(i + 1) / 2;
    }
}

void AMLevels::Write(TMemoryStream& out) const {
    out.WriteI32(kStoredHighestIndex);
    for (int i = 0; i < kAMLevelCount; ++i) {
        out.WriteI32(amplitudes[i]);
        out.WriteU32(static_cast<std::uint32_t>(waveforms[i]));
        out.WriteFloat(frequencies[i]);
    }
}

void AMLevels::Read(TMemoryStream& in) {
    const std::int32_t highest = in.ReadI32();
    if (highest < 0)
        return;
    // A stream too short for the records it announces fails before anything
    // is applied, so a broken layout never leaves half-read levels behind.
    const std::uint64_t records = std::uint64_t(highest) + 1;
    if (records * kRecordSize > in.Remaining())
        throw EReadError("Stream read error: read past the end of the stream");
    AMLevels read = *this;
    for (std::uint64_t i = 0; i < records; ++i) {
        const std::uint32_t amplitude = in.ReadU32();
        const std::uint32_t wave = in.ReadU32();
        const float frequency = in.ReadFloat();
        if (i < kAMLevelCount) {
            read.amplitudes[i] = static_cast<std::int16_t>(amplitude & 0xFFFF);
            read.waveforms[i] = static_cast<TTGWave>(wave & 0xFF);
            read.frequencies[i] = frequency;
        }
    }
    *this = read;
}
