// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the main tone and the eight AM levels share full scale, and at which
// frequencies the levels play.

#include "engine/AMLevels.h"
#include "engine/ToneComponent.h"

#include <array>
#include <functional>

using ToneComponents = std::array<ToneComponent, 1 + kAMLevelCount>;

// The main tone first, then levels 1 to 8. Amplitudes are taken within
// 0..100 so that the levels never add up past full scale; when they add up
// to more than 100 each is scaled to its share and the main tone is silent.
// With the multiplier a level plays at frequency x multiplier, limited to
// 20..20000 Hz (`onLimited` is called when a limit applied); without it at
// its own frequency in whole hertz, and silently not at all when that does
// not fit a 16-bit frequency (32768 Hz or more, or not a number).
ToneComponents MixComponents(int frequency, TTGWave waveform, const AMLevels& am,
                             bool useMultiplier, const std::function<void()>& onLimited);
