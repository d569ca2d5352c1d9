// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/signals/TwoTone.h"

#include "engine/signals/ExactSine.h"

#include <algorithm>
#include <cmath>

std::vector<double> TwoToneSamples(const TwoTone& tones, int rate, int count) {
    std::vector<double> out(static_cast<std::size_t>(std::max(count, 0)));
    double peak = 0;
    for (std::size_t n = 0; n < out.size(); ++n) {
        out[n] =
            tones.lowToHigh * ExactSine(tones.lowHz, rate, n) + ExactSine(tones.highHz, rate, n);
        peak = std::max(peak, std::fabs(out[n]));
    }
    if (peak > 0)
        for (double& v : out)
            v /= peak;
    return out;
}
