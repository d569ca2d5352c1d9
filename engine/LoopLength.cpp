// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/LoopLength.h"

#include <numeric>

namespace loop_length {

namespace {
// The shortest image looped, and the frequency step it resolves.
constexpr int kBaseLoopMs = 100;
constexpr int kBaseStepHz = 10;
} // namespace

int LoopDurationMs(int frequency) {
    return kBaseLoopMs * kBaseStepHz / std::gcd(frequency, kBaseStepHz);
}

int ToneLoopDurationMs(TTGWave wave, int frequency, bool precise) {
    // Waveform codes above the sawtooth all synthesise noise.
    if (precise && wave > TTGWave::tgSawtooth)
        return kNoiseLoopMs;
    return LoopDurationMs(frequency);
}

} // namespace loop_length
