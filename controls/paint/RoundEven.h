// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The controls' one rounding of a computed position, angle step or colour
// step to a whole number: to the nearest integer with halves to the even
// neighbour, in extended precision. Results outside the
// 32-bit range are held at its ends and a NaN gives 0, so a conversion never
// has undefined behaviour whatever the settings are.

#include <cmath>
#include <cstdint>
#include <limits>

inline std::int32_t RoundEven(long double x) {
    if (std::isnan(x))
        return 0;
    const long double r = std::nearbyint(x); // the default mode: halves to even
    if (r >= static_cast<long double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    if (r <= static_cast<long double>(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(r);
}
