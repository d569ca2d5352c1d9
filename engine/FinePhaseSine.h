// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// sin and cos of 2 pi u / (1000 rate) for any whole u below 1000 rate, in
// extended precision, from three small tables: u = 1000 (512 h + m) + b
// splits the angle into h 512 / rate, m / rate and b / (1000 rate) of a
// cycle, each tabulated directly in extended precision. The two angle sums
// cost six products; their rounding stays near that of extended precision
// (a few 1e-19), far below the finest step of any sample format.
//
// The tables hold some 55 kB together, so that they stay in the processor's
// cache while a tone jumps through them frame by frame (a table of every
// whole sample's angle would be megabytes, read at strides of kilobytes).

#include <cstdint>
#include <vector>

class FinePhaseSine {
public:
    // Throws std::invalid_argument for a rate that is not a positive
    // multiple of 4.
    explicit FinePhaseSine(int rate);

    static constexpr int kFineSteps = 1000;
    static constexpr int kMiddleSteps = 512;

    long double Sin(std::uint64_t u) const {
        const Angle a = WholeSamples(u / kFineSteps);
        const Angle& b = fine_[static_cast<std::size_t>(u % kFineSteps)];
        return a.sin * b.cos + a.cos * b.sin;
    }
    long double Cos(std::uint64_t u) const {
        const Angle a = WholeSamples(u / kFineSteps);
        const Angle& b = fine_[static_cast<std::size_t>(u % kFineSteps)];
        return a.cos * b.cos - a.sin * b.sin;
    }
    // Both at once, for the price of one angle sum more than either.
    void SinCos(std::uint64_t u, long double& sin, long double& cos) const {
        const Angle a = WholeSamples(u / kFineSteps);
        const Angle& b = fine_[static_cast<std::size_t>(u % kFineSteps)];
        sin = a.sin * b.cos + a.cos * b.sin;
        cos = a.cos * b.cos - a.sin * b.sin;
    }
    int Rate() const { return rate_; }

private:
    struct Angle {
        long double sin;
        long double cos;
    };
    // The angle of `samples` whole samples' turns at the rate.
    Angle WholeSamples(std::uint64_t samples) const {
        const Angle& h = coarse_[static_cast<std::size_t>(samples / kMiddleSteps)];
        const Angle& m = middle_[static_cast<std::size_t>(samples % kMiddleSteps)];
        return {h.sin * m.cos + h.cos * m.sin, h.cos * m.cos - h.sin * m.sin};
    }

    int rate_;
    std::vector<Angle> coarse_; // 2 pi h 512 / rate
    std::vector<Angle> middle_; // 2 pi m / rate
    std::vector<Angle> fine_;   // 2 pi b / (1000 rate)
};
