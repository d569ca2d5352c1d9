// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// sin and cos of 2 pi u / (1000 rate) for any whole u below 1000 rate, in
// extended precision, from two tables: u = 1000 a + b splits the angle into
// a / rate of a cycle, read from the exact sine table of the rate, and
// b / (1000 rate), read from a table of 1000 fine angles. The angle sum
// costs two products; its rounding stays near that of extended precision
// (about 1e-19), far below the finest step of any sample format.
//
// Cosines of the coarse angle are read a quarter of the table along, so
// the rate must be divisible by 4 (every rate the program plays is).

#include "engine/ExactSineTable.h"

#include <cstdint>
#include <vector>

class FinePhaseSine {
public:
    // Throws std::invalid_argument for a rate that is not a positive
    // multiple of 4.
    explicit FinePhaseSine(int rate);

    static constexpr int kFineSteps = 1000;

    long double Sin(std::uint64_t u) const {
        const auto a = static_cast<std::size_t>(u / kFineSteps);
        const auto b = static_cast<std::size_t>(u % kFineSteps);
        return coarse_[a] * fineCos_[b] + coarse_[Quarter(a)] * fineSin_[b];
    }
    long double Cos(std::uint64_t u) const {
        const auto a = static_cast<std::size_t>(u / kFineSteps);
        const auto b = static_cast<std::size_t>(u % kFineSteps);
        return coarse_[Quarter(a)] * fineCos_[b] - coarse_[a] * fineSin_[b];
    }
    int Rate() const { return rate_; }

private:
    std::size_t Quarter(std::size_t a) const {
        const std::size_t q = a + quarter_;
        return q >= std::size_t(rate_) ? q - std::size_t(rate_) : q;
    }

    int rate_;
    std::size_t quarter_;
    const std::vector<long double>& coarse_;
    std::vector<long double> fineSin_;
    std::vector<long double> fineCos_;
};
