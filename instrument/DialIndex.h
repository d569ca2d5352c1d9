// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where each dial stands in DialPositions.

#include <cstddef>

namespace instrument {

inline constexpr std::size_t kThousands = 0, kHundreds = 1, kUnits = 2, kAmplitude = 3;

} // namespace instrument
