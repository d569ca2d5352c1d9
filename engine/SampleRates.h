// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The sample rates the generator plays. The classic synthesis keeps its two
// (the quality switch: 44100 and 96000); the precise one also plays the
// rates sound devices and servers commonly run at, so that the server can
// pass its samples through instead of resampling them.

#include <algorithm>
#include <array>

inline constexpr std::array<int, 6> kPreciseRates{44100, 48000, 88200, 96000, 176400, 192000};
inline constexpr int kDefaultRate = 96000;

// Whether the classic (`precise` false) or the precise synthesis plays `rate`.
constexpr bool PlaysAtRate(int rate, bool precise) {
    if (!precise)
        return rate == 44100 || rate == 96000;
    return std::find(kPreciseRates.begin(), kPreciseRates.end(), rate) != kPreciseRates.end();
}
