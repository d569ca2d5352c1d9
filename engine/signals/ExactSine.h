// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A sine's sample at its exact phase: at sample n a tone of f Hz stands at
// (n f mod rate) / rate of its cycle, kept in whole numbers so that it never
// drifts, less a lag in tenths of a degree.

#include <cmath>
#include <cstddef>
#include <numbers>

inline double ExactSine(int frequency, int rate, std::size_t n, int lagTenths = 0) {
    const long long index = static_cast<long long>(n % std::size_t(rate)) * frequency % rate;
    const double cycles = double(index) / rate - lagTenths / 3600.0;
    return std::sin(2 * std::numbers::pi * cycles);
}
