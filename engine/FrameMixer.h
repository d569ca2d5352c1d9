// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Adds components into a buffer of frames and writes them out as sample
// data. Both channels of a stereo frame are always equal, so the mix keeps
// one sample per frame and the channels are filled in when writing.

#include "engine/NoiseSource.h"
#include "engine/ToneComponent.h"
#include "engine/WaveFormat.h"

#include <cstdint>
#include <vector>

class FrameMixer {
public:
    // With `precise`, periodic components are the ideal waveforms at their
    // exact phases (band-limited where they have harmonics); without it they
    // follow the classic per-period recurrence.
    FrameMixer(const WaveFormat& format, std::uint32_t dataLength, bool precise = false);

    // Adds one component; silent ones (level or frequency 0 or less) add
    // nothing. Noise continues the given source's sequence.
    void Add(const ToneComponent& component, NoiseSource& noise);

    // Writes every frame that starts before L at `data` (sample data, not the
    // header). A frame straddling L is written whole, into the padding.
    void WriteData(std::uint8_t* data) const;

    std::size_t FrameCount() const { return frameCount_; }

private:
    template <class Sample>
    void AddTo(std::vector<Sample>& frames, const ToneComponent& c, NoiseSource& noise) const;
    template <class Sample>
    void AddPrecise(std::vector<Sample>& frames, const ToneComponent& c) const;

    WaveFormat format_;
    bool precise_;
    std::size_t frameCount_;
    // One of the two is used: 16-bit samples wrap modulo 2^16, 8-bit bytes
    // modulo 256, just as the image's own additions do.
    std::vector<std::uint16_t> frames16_;
    std::vector<std::uint8_t> frames8_;
};
