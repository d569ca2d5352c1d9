// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tone bursts: ON whole cycles of a sine starting at phase zero, then OFF
// cycles of silence, repeated.

#include <cstddef>
#include <vector>

// The most cycles a burst or its silence may last.
inline constexpr int kMostBurstCycles = 1000;

struct BurstSettings {
    int onCycles = 10;
    int offCycles = 90;

    bool operator==(const BurstSettings&) const = default;
};

// One burst and its silence in samples, each the nearest whole number to
// its cycles at `rate` (exact when a cycle is a whole number of samples).
struct BurstLengths {
    std::size_t on;
    std::size_t period;
};
BurstLengths BurstLengthsAt(const BurstSettings& burst, int frequency, int rate);

// Whole bursts at `rate`, at least `minimumCount` samples (and one burst);
// the sine's peak is 1.
std::vector<double> ToneBurstSamples(const BurstSettings& burst, int frequency, int rate,
                                     std::size_t minimumCount);
