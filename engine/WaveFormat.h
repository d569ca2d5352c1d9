#pragma once
// The sample format of a wave image and the sizes that follow from it.

#include <cstdint>

struct WaveFormat {
    bool stereo = false;
    bool sixteenBit = true;
    bool hiQ = true; // 96000 samples per second, else 44100

    int Channels() const { return stereo ? 2 : 1; }
    int BytesPerSample() const { return sixteenBit ? 2 : 1; }
    int BitsPerSample() const { return 8 * BytesPerSample(); }
    int BytesPerFrame() const { return BytesPerSample() * Channels(); }
    int SamplesPerSecond() const { return hiQ ? 96000 : 44100; }
    int SamplesPer10ms() const { return hiQ ? 960 : 441; }
    // 16-bit samples are signed around 0, 8-bit ones unsigned around 128.
    std::uint8_t ZeroLevelByte() const { return sixteenBit ? 0x00 : 0x80; }

    // Data length L in bytes for a duration in milliseconds. It is not
    // rounded to whole frames: 16-bit mono at 44100 can give an odd length.
    std::uint32_t DataLength(int durationMs) const {
        const std::int64_t mono =
            std::int64_t(BytesPerSample()) * durationMs * SamplesPer10ms() / 10;
        return static_cast<std::uint32_t>(stereo ? 2 * mono : mono);
    }
};
