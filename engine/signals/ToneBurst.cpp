// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/signals/ToneBurst.h"

#include "engine/signals/ExactSine.h"

#include <algorithm>

namespace {

std::size_t NearestSamples(long long cycles, int frequency, int rate) {
    return static_cast<std::size_t>((cycles * rate + frequency / 2) / frequency);
}

} // namespace

BurstLengths BurstLengthsAt(const BurstSettings& burst, int frequency, int rate) {
    const std::size_t on = NearestSamples(burst.onCycles, frequency, rate);
    const std::size_t period =
        std::max(on, NearestSamples(burst.onCycles + burst.offCycles, frequency, rate));
    return {on, std::max<std::size_t>(period, 1)};
}

std::vector<double> ToneBurstSamples(const BurstSettings& burst, int frequency, int rate,
                                     std::size_t minimumCount) {
    const BurstLengths lengths = BurstLengthsAt(burst, frequency, rate);
    const std::size_t bursts =
        std::max<std::size_t>(1, (minimumCount + lengths.period - 1) / lengths.period);
    std::vector<double> out(bursts * lengths.period, 0.0);
    for (std::size_t n = 0; n < lengths.on; ++n)
        out[n] = ExactSine(frequency, rate, n);
    for (std::size_t b = 1; b < bursts; ++b)
        std::copy_n(out.begin(), lengths.on, out.begin() + b * lengths.period);
    return out;
}
