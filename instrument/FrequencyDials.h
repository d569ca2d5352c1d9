// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the instrument turns what the three frequency dials show into the
// generator's frequency. The loop length for that frequency is the engine's
// rule (engine/LoopLength.h).

#include "engine/ToneLimits.h"

#include <string_view>

namespace instrument {

// The generator's limits.
inline constexpr int kMinFrequency = kMinToneFrequency;
inline constexpr int kMaxFrequency = kMaxToneFrequency;

// The decimal number a dial's text shows; anything that is not a run of
// digits counts as 0 (the dials only ever show digits).
int DialNumber(std::string_view text);

// The frequency in hertz from the thousands (0..20), hundreds (0..9) and
// tens-and-units (0..99, or 100) readings, as one whole number. At the end
// of the 10 Hz range the units dial shows 100 until the next tick pulls it
// back to 90; it is read as the 90 the display is about to show, so a carry
// never reaches the hundreds. The result is limited to the generator's
// 20..20000 Hz.
int ComposeFrequency(int thousands, int hundreds, int units);
// The same from the dials' texts ("00".."20", "0".."9", "00".."99" or "100").
int ComposeFrequency(std::string_view thousands, std::string_view hundreds, std::string_view units);

} // namespace instrument
