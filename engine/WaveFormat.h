// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sample format of a wave image and the sizes that follow from it.

#include <cstdint>

// Samples wider than 16 bits, which only the precise synthesis makes. With
// None the image holds 8 or 16 bits as `sixteenBit` says.
enum class WideSamples : std::uint8_t { None, Pcm24, Float32 };

struct WaveFormat {
    bool stereo = false;
    bool sixteenBit = true;
    bool hiQ = true; // 96000 samples per second, else 44100
    WideSamples wide = WideSamples::None;
    // A rate of its own for streamed tones (44100, 48000, 88200, 96000,
    // 176400 or 192000); 0: the classic choice `hiQ` makes.
    int rate = 0;

    int Channels() const { return stereo ? 2 : 1; }
    int BytesPerSample() const {
        switch (wide) {
        case WideSamples::Pcm24:
            return 3;
        case WideSamples::Float32:
            return 4;
        case WideSamples::None:
            break;
        }
        return sixteenBit ? 2 : 1;
    }
    int BitsPerSample() const { return 8 * BytesPerSample(); }
    int BytesPerFrame() const { return BytesPerSample() * Channels(); }
    int SamplesPerSecond() const { return rate != 0 ? rate : hiQ ? 96000 : 44100; }
    int SamplesPer10ms() const { return SamplesPerSecond() / 100; }
    bool IsFloat() const { return wide == WideSamples::Float32; }
    // Whole-number samples (8 bits excepted) are signed around 0, 8-bit
    // ones unsigned around 128; float zero is all zero bits as well.
    std::uint8_t ZeroLevelByte() const {
        return sixteenBit || wide != WideSamples::None ? 0x00 : 0x80;
    }
    // The largest whole-number sample value; 1 for float.
    double FullScale() const {
        switch (wide) {
        case WideSamples::Pcm24:
            return 8388607;
        case WideSamples::Float32:
            return 1;
        case WideSamples::None:
            break;
        }
        return sixteenBit ? 32767 : 127;
    }

    // Data length L in bytes for a duration in milliseconds. For 8 and 16
    // bits it is not rounded to whole frames (16-bit mono at 44100 can give
    // an odd length), as it always was; wide samples hold whole frames, as
    // readers of such files expect.
    std::uint32_t DataLength(int durationMs) const {
        if (wide != WideSamples::None) {
            const std::int64_t frames = std::int64_t(durationMs) * SamplesPer10ms() / 10;
            return static_cast<std::uint32_t>(frames * BytesPerFrame());
        }
        const std::int64_t mono =
            std::int64_t(BytesPerSample()) * durationMs * SamplesPer10ms() / 10;
        return static_cast<std::uint32_t>(stereo ? 2 * mono : mono);
    }
};
