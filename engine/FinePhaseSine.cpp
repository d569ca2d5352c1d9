// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/FinePhaseSine.h"

#include "engine/ExtendedPi.h"

#include <cmath>
#include <stdexcept>

namespace {
const std::vector<long double>& TableFor(int rate) {
    if (rate <= 0 || rate % 4 != 0)
        throw std::invalid_argument("the rate must be a positive multiple of 4");
    return ExactSineTable::ForRate(rate).extended;
}

} // namespace

FinePhaseSine::FinePhaseSine(int rate)
    : rate_(rate), quarter_(std::size_t(rate / 4)), coarse_(TableFor(rate)), fineSin_(kFineSteps),
      fineCos_(kFineSteps) {
    // Each fine angle is below one sample's turn at the rate's coarse
    // step, computed directly in extended precision.
    const long double units = 1000.0L * rate;
    for (int b = 0; b < kFineSteps; ++b) {
        fineSin_[b] = std::sin(kTwoPiExtended * b / units);
        fineCos_[b] = std::cos(kTwoPiExtended * b / units);
    }
}
