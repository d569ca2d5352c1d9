// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/multitone/TonePlacement.h"

#include <cmath>

namespace {

bool Valid(double f1, double f2, int n) {
    return std::isfinite(f1) && std::isfinite(f2) && f1 > 0 && f1 <= f2 && n >= 1;
}

} // namespace

std::vector<MultitoneTone> TonesPerOctave(double f1, double f2, int perOctave) {
    std::vector<MultitoneTone> tones;
    if (!Valid(f1, f2, perOctave))
        return tones;
    // Each tone from F1 directly (not by repeated products), so that the
    // series does not drift from its law.
    const double top = f2 * (1 + 1e-9);
    for (int k = 0;; ++k) {
        const double f = f1 * std::pow(10.0, 0.3 * k / perOctave);
        if (f > top)
            break;
        tones.push_back({f, 0, std::nullopt});
    }
    return tones;
}

std::vector<MultitoneTone> EvenlySpacedTones(double f1, double f2, int count) {
    std::vector<MultitoneTone> tones;
    if (!Valid(f1, f2, count))
        return tones;
    for (int k = 0; k < count; ++k)
        tones.push_back({count == 1 ? f1 : f1 + k * (f2 - f1) / (count - 1), 0, std::nullopt});
    return tones;
}
