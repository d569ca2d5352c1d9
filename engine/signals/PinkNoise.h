// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pink noise that loops seamlessly: its spectrum is made for the whole loop
// at once, so the loop is one period of it. Every bin from lowHz to highHz
// has power falling as 1/f (3 dB per octave, equal power per third octave)
// and a random phase; nothing lies outside. Exact magnitudes, not random
// ones, keep even the narrow low bands at their level over one loop.

#include <cstdint>
#include <vector>

// `count` samples at `rate`, scaled to a peak of 1. The same seed gives
// the same samples. Throws std::bad_alloc when memory is short.
std::vector<double> PinkNoise(int count, int rate, std::uint32_t seed, double lowHz = 20,
                              double highHz = 20000);
