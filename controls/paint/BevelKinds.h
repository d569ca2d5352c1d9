// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Enumerations of the round bevel: which way it is shaded and which of its
// two outline circles are drawn.

#include <string>
#include <vector>

enum TBevelStyle : int { bsLowered, bsRaised };
enum TBevelLine : int { blNone, blOuter, blInner, blBoth };

const std::vector<std::string>& BevelStyleNames();
const std::vector<std::string>& BevelLineNames();

constexpr bool HasOuterLine(TBevelLine line) {
    return line == blOuter || line == blBoth;
}
constexpr bool HasInnerLine(TBevelLine line) {
    return line == blInner || line == blBoth;
}
