// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tones moved onto the bins of an N-point transform at a rate: each to the
// nearest bin centre k R / N. A signal of such tones repeats exactly every N
// frames, so a transform of that length sees each tone in its own bin and
// nothing between.

#include "engine/multitone/MultitoneTone.h"

#include <cstdint>
#include <optional>
#include <vector>

struct BinnedTone {
    int bin = 0;           // 1 .. N/2 - 1
    double amplitude = 1;  // relative, from the asked level
    double askedHertz = 0; // before centring
    std::optional<double> phaseRadians;
};

enum class BinRefusal : std::uint8_t { None, BadLength, BadRate, OutOfRange, SameBin };

struct BinCentring {
    std::vector<BinnedTone> tones; // in the order asked; empty when refused
    BinRefusal refusal = BinRefusal::None;
    // OutOfRange: the tone's frequency; SameBin: both tones' frequencies.
    double firstHertz = 0;
    double secondHertz = 0;
};

// Refuses a length that is not a power of two of 1,024..1,048,576, a rate
// below 1, a tone whose bin is 0 or at or above N/2 (the tone could not be
// told from its mirror), and two tones on one bin.
BinCentring CentreOnBins(const std::vector<MultitoneTone>& tones, int fftLength, int rate);
