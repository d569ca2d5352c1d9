// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How long a looped image must be for its frequency to be heard exactly (or,
// for noise, not to be heard repeating). The panel and the command line both
// size their loops by this rule.

#include "engine/ToneGenTypes.h"

namespace loop_length {

// The length in milliseconds of the shortest looped image that holds a whole
// number of periods at `frequency` Hz: 100 ms for multiples of 10 Hz, and
// 200, 500 or 1000 ms otherwise. With the loop restarting at phase zero on
// every repetition, any other length would pull the heard pitch to a
// multiple of 10 Hz.
int LoopDurationMs(int frequency);

// The loop length of precise noise. Frozen noise looped every T seconds is
// heard as a flutter at 1/T Hz and its spectrum is a comb of lines 1/T Hz
// apart; 10 s puts the lines 0.1 Hz apart, fine enough for an analyser's
// narrowest bands and long enough to hear no repetition, and the image
// (1.9 MB at 96000 samples per second) still builds in well under the
// 50 ms a switch may take.
inline constexpr int kNoiseLoopMs = 10000;

// The loop length for a tone as played: the long noise loop for precise
// noise, otherwise the whole-period loop of `frequency`. The classic
// synthesis keeps its whole-period loop for noise too, as recordings made
// with it have it.
int ToneLoopDurationMs(TTGWave wave, int frequency, bool precise);

} // namespace loop_length
