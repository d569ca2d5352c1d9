// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The build's own pseudo-random source: a 32-bit linear congruential state,
// so every build with the same parameters gives the same bytes and nothing
// else in the program is disturbed.

#include <cstdint>

class NoiseSource {
public:
    explicit NoiseSource(std::uint32_t seed = 1) : state_(seed) {}

    // A whole number from 0 to range - 1.
    std::uint32_t Draw(std::uint32_t range) {
        state_ = state_ * 134775813u + 1u;
        return static_cast<std::uint32_t>((std::uint64_t(range) * state_) >> 32);
    }
    std::uint32_t State() const { return state_; }

private:
    std::uint32_t state_;
};
