// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The whole text as a finite decimal number ("1.5", "2", "-3e2"), as every
// reader of a typed value takes numbers: no leading '+', no spaces, no
// infinity or NaN, nothing after the number.

#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>

inline std::optional<double> ParseFiniteNumber(std::string_view text) {
    double v = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, v, std::chars_format::general);
    if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(v))
        return std::nullopt;
    return v;
}
