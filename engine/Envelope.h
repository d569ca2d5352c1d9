// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The attack/hold/decay/sustain/release shaping of a built image's samples.

#include <cstdint>
#include <vector>

struct EnvelopeSettings {
    int attack = 10;  // percent of the duration
    int hold = 5;     // percent of the duration
    int decay = 20;   // percent of the duration
    int sustain = 50; // percent of full level
    int release = 30; // percent of the duration
};

enum class EnvelopePhaseKind { Attack, Hold, Decay, Sustain, Release };

// One phase that is applied: frames start .. start + n (n + 1 frames);
// frames at index T or beyond are never touched.
struct EnvelopePhase {
    EnvelopePhaseKind kind;
    std::int64_t start;
    std::int64_t n;
};

// The phases that apply, in order, for data of `dataLength` bytes in frames
// of `bytesPerFrame` bytes. Skipped phases are left out and take no frames.
std::vector<EnvelopePhase> EnvelopePlan(std::uint32_t dataLength, int bytesPerFrame,
                                        const EnvelopeSettings& settings);

// Shapes `dataLength` bytes of sample data in place. Each frame's first
// sample decides the new value, which is written to every sample of it.
void ApplyEnvelope(std::uint8_t* data, std::uint32_t dataLength, bool stereo, bool sixteenBit,
                   const EnvelopeSettings& settings);

// The same shaping as gains, one per frame of `dataLength` bytes in frames
// of `bytesPerFrame` bytes, for samples held as real numbers: 1 where no
// phase applies.
std::vector<double> EnvelopeGains(std::uint32_t dataLength, int bytesPerFrame,
                                  const EnvelopeSettings& settings);
