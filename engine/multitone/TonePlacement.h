// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the tones of a multitone go: a number of tones per octave from F1
// up to F2, or a number of tones evenly from F1 to F2. All at one level,
// their phases left to be chosen.

#include "engine/multitone/MultitoneTone.h"

#include <vector>

// The highest frequency a multitone's tone may be asked at (the rate
// limits it further).
inline constexpr double kHighestMultitoneHertz = 1e6;
// The most tones per octave a multitone is asked for.
inline constexpr int kMostTonesPerOctave = 1000;

// F1 x G^(k / n) for k = 0, 1, ... while at most F2 (with a relative
// allowance of 1e-9, so that an F2 on the series is kept), where the octave
// G is the base-ten ratio 10^0.3 of standard band filters: 20 Hz to 20 kHz
// at three a octave gives the 31 third-octave centres. Empty unless
// 0 < F1 <= F2 and n >= 1.
std::vector<MultitoneTone> TonesPerOctave(double f1, double f2, int perOctave);

// n tones F1 + k (F2 - F1) / (n - 1), k = 0 .. n - 1 (one tone: F1). Empty
// unless 0 < F1 <= F2 and n >= 1.
std::vector<MultitoneTone> EvenlySpacedTones(double f1, double f2, int count);
