// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The transform lengths a multitone may be centred for: powers of two from
// 1,024 to 1,048,576 frames.

inline constexpr int kShortestFft = 1 << 10;
inline constexpr int kLongestFft = 1 << 20;

constexpr bool IsFftLength(long long n) {
    return n >= kShortestFft && n <= kLongestFft && (n & (n - 1)) == 0;
}
