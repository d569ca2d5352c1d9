// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/AMMix.h"

#include "engine/NoteName.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kFullScale = 100;
constexpr double kComponentFrequencyLimit = 32768;

int LevelFrequency(int frequency, float entry, bool useMultiplier,
                   const std::function<void()>& onLimited) {
    if (std::isnan(entry))
        return 0;
    if (useMultiplier) {
        const double f = std::trunc(double(frequency) * double(entry));
        if (f < kMinToneFrequency || f > kMaxToneFrequency) {
            if (onLimited)
                onLimited();
            return f < kMinToneFrequency ? kMinToneFrequency : kMaxToneFrequency;
        }
        return static_cast<int>(f);
    }
    const double f = std::trunc(double(entry));
    if (f <= 0 || f >= kComponentFrequencyLimit)
        return 0;
    return static_cast<int>(f);
}

} // namespace

ToneComponents MixComponents(int frequency, TTGWave waveform, const AMLevels& am,
                             bool useMultiplier, const std::function<void()>& onLimited) {
    std::array<int, kAMLevelCount> amplitude{};
    int sum = 0;
    for (int i = 0; i < kAMLevelCount; ++i) {
        amplitude[i] = std::clamp<int>(am.amplitudes[i], 0, kFullScale);
        sum += amplitude[i];
    }
    ToneComponents out;
    out[0] = {kFullScale - sum, frequency, waveform};
    for (int i = 0; i < kAMLevelCount; ++i) {
        const int level = sum > kFullScale ? amplitude[i] * kFullScale / sum : amplitude[i];
        // The frequency (and its limit message) is worked out only for a
        // level that will sound.
        const int f =
            level > 0 ? LevelFrequency(frequency, am.frequencies[i], useMultiplier, onLimited) : 0;
        out[i + 1] = {level, f, am.waveforms[i]};
    }
    return out;
}
