// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/LevelFormat.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace {

constexpr int kDecibelDecimals = 2;
constexpr int kVoltSignificantDigits = 4;
// Enough for a picovolt; beyond it the scale would overflow.
constexpr int kMostDecimals = 20;
// Below this a rounded-away difference is the arithmetic's, not the value's
// (a limit computed as 0.999999999999 dB is 1.00 dB).
constexpr double kRoundingSlack = 1e-9;

double Rounded(double value, int decimals, LevelRounding rounding) {
    const double scale = std::pow(10.0, decimals);
    const double scaled = value * scale;
    switch (rounding) {
    case LevelRounding::Down:
        return std::floor(scaled + kRoundingSlack) / scale;
    case LevelRounding::Up:
        return std::ceil(scaled - kRoundingSlack) / scale;
    case LevelRounding::Nearest:
        break;
    }
    return std::round(scaled) / scale;
}

std::string Fixed(double value, int decimals) {
    std::array<char, 400> digits{};
    const auto [end, ec] = std::to_chars(digits.data(), digits.data() + digits.size(), value,
                                         std::chars_format::fixed, decimals);
    std::string text(digits.data(), ec == std::errc() ? end : digits.data());
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0')
            text.pop_back();
        if (text.back() == '.')
            text.pop_back();
    }
    if (text == "-0")
        text = "0";
    return text;
}

} // namespace

std::string FormatLevel(const WrittenLevel& level, LevelRounding rounding) {
    int decimals = kDecibelDecimals;
    const bool volts = IsInVolts(level.unit);
    if (volts && level.number > 0 && std::isfinite(level.number)) {
        const int magnitude = static_cast<int>(std::floor(std::log10(level.number)));
        decimals = std::clamp(kVoltSignificantDigits - 1 - magnitude, 0, kMostDecimals);
    }
    double value = Rounded(level.number, decimals, rounding);
    // Four significant digits of a large voltage: round in whole units.
    if (volts && decimals == 0 && level.number >= 1e4) {
        const double unit =
            std::pow(10.0, std::floor(std::log10(level.number)) - (kVoltSignificantDigits - 1));
        value = Rounded(level.number / unit, 0, rounding) * unit;
    }
    return Fixed(value, decimals) + std::string(UnitSymbol(level.unit));
}
