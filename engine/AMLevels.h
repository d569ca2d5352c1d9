// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The eight AM levels' entries and their stored form "AMArrayData":
// a 32-bit highest index, then per level the amplitude, the waveform
// ordinal and the frequency (IEEE single), each in 4 little-endian bytes.

#include "engine/ToneGenTypes.h"

#include <array>
#include <cstdint>

class TMemoryStream;

struct AMLevels {
    std::array<std::int16_t, kAMLevelCount> amplitudes{};
    std::array<TTGWave, kAMLevelCount> waveforms{};
    // Multiplier of the tone's frequency, or hertz without the multiplier.
    std::array<float, kAMLevelCount> frequencies{};
    std::array<std::int32_t, kAMLevelCount> octaves{};

    // Amplitude 0, sine and frequency (i + 1) / 2 on every level; the
    // octaves are not touched.
    void Reset();

    // Writes highest index 7 and the eight records.
    void Write(TMemoryStream& out) const;

    // Reads a stored highest index and its records. A negative index reads
    // nothing more and changes nothing. Records beyond the eighth have
    // nowhere to go: they are read and dropped. Values are taken as stored,
    // unchecked (the frequency bit for bit). A stream that ends early throws
    // the stream's EReadError and leaves every entry as it was.
    void Read(TMemoryStream& in);
};
