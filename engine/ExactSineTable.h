// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// sin(2 pi m / rate) for every whole phase index m of a sample rate, in
// extended precision and rounded to double. Made once per rate and kept for
// the life of the program: every precise component at that rate reads its
// values from it.

#include <vector>

struct ExactSineTable {
    std::vector<long double> extended;
    std::vector<double> rounded; // the same values, for sums of many terms

    static const ExactSineTable& ForRate(int rate);
};
