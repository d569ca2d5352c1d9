// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The precise synthesis in real numbers, for the formats and settings the
// step-by-step mix cannot serve: samples wider than 16 bits, a peak level
// in dBFS, dither. Components are added as the ideal waveforms at their
// exact phases, -1..1 of full scale at a level of 100 percent; the level,
// the envelope and the rounding come after the whole mix, each once.

#include "engine/Envelope.h"
#include "engine/NoiseSource.h"
#include "engine/ToneComponent.h"
#include "engine/WaveFormat.h"

#include <cstdint>
#include <vector>

class RealFrameMixer {
public:
    RealFrameMixer(const WaveFormat& format, std::uint32_t dataLength);

    // Adds one component; silent ones add nothing. Noise continues the
    // given source's sequence, one draw per frame, uniform over the level.
    void Add(const ToneComponent& component, NoiseSource& noise);
    // Multiplies every frame by `gain`.
    void Scale(double gain);
    // Shapes the frames with the envelope, over the same phases as the
    // step-by-step envelope for the image's data length.
    void ApplyEnvelope(const EnvelopeSettings& settings);

    const std::vector<double>& Frames() const { return frames_; }

private:
    WaveFormat format_;
    std::uint32_t dataLength_;
    std::vector<double> frames_;
};

// The linear peak for a level in dB relative to full scale.
double PeakFromDecibels(double decibels);
