// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Flash rates of the coloured buttons and the bit of the program-wide flash
// counter whose value is a button's phase at that rate.

#include <cstdint>

enum TFlashFreq : std::uint8_t { ff8Hz, ff4Hz, ff2Hz, ff1Hz, ff05Hz };

// With a 16 ms beat the phase holds 2^bit ticks: 4 ticks (about 7.8 Hz) up
// to 64 ticks (about 0.5 Hz).
constexpr int FlashBitOf(TFlashFreq f) {
    constexpr int kLowestBit = 2;
    return kLowestBit + (f <= ff05Hz ? static_cast<int>(f) : static_cast<int>(ff1Hz));
}
