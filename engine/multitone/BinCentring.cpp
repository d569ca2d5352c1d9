// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/multitone/BinCentring.h"

#include "engine/multitone/FftLength.h"

#include <cmath>
#include <numbers>
#include <unordered_map>

BinCentring CentreOnBins(const std::vector<MultitoneTone>& tones, int fftLength, int rate) {
    BinCentring result;
    if (!IsFftLength(fftLength)) {
        result.refusal = BinRefusal::BadLength;
        return result;
    }
    if (rate < 1) {
        result.refusal = BinRefusal::BadRate;
        return result;
    }
    std::unordered_map<int, double> taken; // bin -> the asked frequency on it
    std::vector<BinnedTone> binned;
    binned.reserve(tones.size());
    for (const MultitoneTone& t : tones) {
        const double exact = t.hertz * fftLength / rate;
        if (!std::isfinite(exact) || exact < 0.5 || exact >= fftLength / 2 - 0.5) {
            result.refusal = BinRefusal::OutOfRange;
            result.firstHertz = t.hertz;
            return result;
        }
        const int bin = static_cast<int>(std::lround(exact));
        if (const auto [it, fresh] = taken.emplace(bin, t.hertz); !fresh) {
            result.refusal = BinRefusal::SameBin;
            result.firstHertz = it->second;
            result.secondHertz = t.hertz;
            return result;
        }
        std::optional<double> phase;
        if (t.phaseDegrees)
            phase = *t.phaseDegrees * std::numbers::pi / 180;
        binned.push_back({bin, std::pow(10.0, t.levelDb / 20), t.hertz, phase});
    }
    result.tones = std::move(binned);
    return result;
}
