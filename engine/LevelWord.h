// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The level word the sound outputs take: the left level in the low 16 bits,
// the right level in the high 16 bits, each 0 (silent) to 65535 (full),
// applied as linear gains.

#include <cstdint>

inline constexpr std::uint32_t kLevelHalfMax = 0xFFFF;
inline constexpr std::uint32_t kFullLevel = 0xFFFFFFFFu;

// Each half is cut to 16 bits.
constexpr std::uint32_t PackLevelWord(std::uint32_t left, std::uint32_t right) {
    return (left & kLevelHalfMax) | ((right & kLevelHalfMax) << 16);
}
constexpr std::uint32_t LeftLevel(std::uint32_t word) {
    return word & kLevelHalfMax;
}
constexpr std::uint32_t RightLevel(std::uint32_t word) {
    return word >> 16;
}

// One half from a percent of full (0..100), rounded down.
constexpr std::uint32_t LevelFromPercent(std::uint32_t percent) {
    return percent * kLevelHalfMax / 100;
}
constexpr std::uint32_t LevelWordFromPercent(std::uint32_t leftPercent,
                                             std::uint32_t rightPercent) {
    return PackLevelWord(LevelFromPercent(leftPercent), LevelFromPercent(rightPercent));
}
