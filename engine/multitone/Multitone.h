// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A multitone ready to play: its tones centred on the bins of the asked
// transform, their phases (the caller's, or chosen to lower the crest
// factor), and one period of N frames at the asked level, which is the RMS
// of the whole signal in dBFS (AES17: 0 dBFS is the RMS of a full-scale
// sine). A level whose peak would pass full scale is refused with the
// largest level that fits.

#include "engine/multitone/BinCentring.h"
#include "engine/multitone/MultitoneTone.h"

#include <atomic>
#include <cstdint>
#include <stdexcept>
#include <vector>

struct MultitoneSettings {
    std::vector<MultitoneTone> tones;
    int fftLength = 65536;
    double levelDb = -10; // dBFS RMS
    // Set by another thread once the multitone is no longer wanted: a long
    // period (seconds of work) is then given up between rounds of its
    // phase search. May be null.
    const std::atomic<bool>* givenUp = nullptr;
};

// Thrown by BuildMultitone once settings.givenUp is set.
class MultitoneGivenUp : public std::runtime_error {
public:
    MultitoneGivenUp() : std::runtime_error("the multitone was given up") {}
};

enum class MultitoneRefusal : std::uint8_t {
    None,
    NoTones,
    BadLength,  // not a power of two of 1,024..1,048,576
    BadRate,    // below 1
    OutOfRange, // firstHertz lands on bin 0 or at or above half the rate
    SameBin,    // firstHertz and secondHertz land on one bin
    Clips,      // the level's peak passes full scale: see largestLevelDb
};

struct Multitone {
    MultitoneRefusal refusal = MultitoneRefusal::None;
    double firstHertz = 0;
    double secondHertz = 0;
    // The highest level, in hundredths of a dB, whose peak stays within
    // full scale (also when refused for clipping).
    double largestLevelDb = 0;

    int rate = 0;
    int fftLength = 0;
    double levelDb = 0;
    std::vector<BinnedTone> tones;
    std::vector<double> phases; // radians, one per tone, of a sine
    // One period of fftLength frames at the level, as fractions of full
    // scale; empty when refused.
    std::vector<double> frames;
    double crestFactorDb = 0;

    bool Refused() const { return refusal != MultitoneRefusal::None; }
    double ToneHertz(std::size_t k) const { return double(tones[k].bin) * rate / fftLength; }
};

// May throw std::bad_alloc, and MultitoneGivenUp.
Multitone BuildMultitone(const MultitoneSettings& settings, int rate);
