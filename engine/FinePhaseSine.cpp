// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/FinePhaseSine.h"

#include "engine/ExtendedPi.h"

#include <cmath>
#include <stdexcept>

namespace {

int CheckedRate(int rate) {
    if (rate <= 0 || rate % 4 != 0)
        throw std::invalid_argument("the rate must be a positive multiple of 4");
    return rate;
}

} // namespace

FinePhaseSine::FinePhaseSine(int rate) : rate_(CheckedRate(rate)) {
    // Each angle computed directly in extended precision, as a fraction
    // of a turn: steps / perTurn.
    const auto fill = [](std::vector<Angle>& table, std::size_t size, long double step,
                         long double perTurn) {
        table.resize(size);
        for (std::size_t i = 0; i < size; ++i) {
            const long double angle = kTwoPiExtended * (step * i) / perTurn;
            table[i] = {std::sin(angle), std::cos(angle)};
        }
    };
    const std::size_t coarse = (std::size_t(rate) + kMiddleSteps - 1) / kMiddleSteps;
    fill(coarse_, coarse, kMiddleSteps, rate);
    fill(middle_, kMiddleSteps, 1, rate);
    fill(fine_, kFineSteps, 1, 1000.0L * rate);
}
