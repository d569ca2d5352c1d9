// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One full turn in radians, to the precision of long double: the exact
// synthesis computes every angle from it in extended precision.

inline constexpr long double kTwoPiExtended = 6.283185307179586476925286766559L;
