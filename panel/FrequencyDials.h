#pragma once
// How the panel turns the three frequency dials' texts into the generator's
// frequency, and how long the looped image must be for that frequency to be
// heard exactly (or, for noise, not to be heard repeating).

#include "engine/ToneGenTypes.h"

#include <string_view>

namespace panel {

inline constexpr int kMinFrequency = 20;
inline constexpr int kMaxFrequency = 20000;

// The decimal number a dial's text shows; anything that is not a run of
// digits counts as 0 (the dials only ever show digits).
int DialNumber(std::string_view text);

// The frequency in hertz from the thousands ("00".."20"), hundreds ("0".."9")
// and tens-and-units ("00".."99", or "100") texts, read as one whole number.
// At the end of the 10 Hz range the units dial shows "100" until the panel's
// timer pulls it back to 90; it is read as the 90 the display is about to
// show, so a carry never reaches the hundreds. The result is limited to the
// generator's 20..20000 Hz.
int ComposeFrequency(std::string_view thousands, std::string_view hundreds, std::string_view units);

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

} // namespace panel
