// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two-tone intermodulation test signals: SMPTE (60 Hz and 7 kHz at 4:1)
// and CCIF (19 and 20 kHz at 1:1).

#include <vector>

struct TwoTone {
    int lowHz;
    int highHz;
    double lowToHigh; // amplitude ratio of the low tone to the high one

    static TwoTone Smpte() { return {60, 7000, 4}; }
    static TwoTone Ccif() { return {19000, 20000, 1}; }
};

// `count` samples at `rate`, each tone at its exact phase, scaled so that
// the largest sample is 1: the combined peak, not the tones', is the level.
std::vector<double> TwoToneSamples(const TwoTone& tones, int rate, int count);
