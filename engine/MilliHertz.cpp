// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/MilliHertz.h"

#include <algorithm>

namespace {

constexpr int kDecimals = 3;
// More digits than any frequency in range has: the value read so far is
// then already out of range, and reading on could only overflow.
constexpr int kLongestWholePart = 12;
constexpr std::int64_t kFarOutOfRange = 10'000'000'000'000;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The number the digits stand for, in millihertz; empty when the text is
// not digits with an optional point and decimals, or has too many
// non-zero decimals (then `tooPrecise` is set).
std::optional<std::int64_t> MilliHertzOf(std::string_view text, char point, bool& tooPrecise) {
    std::size_t i = 0;
    std::int64_t whole = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        if (i < kLongestWholePart)
            whole = whole * 10 + (text[i] - '0');
    if (i == 0)
        return std::nullopt;
    if (i > kLongestWholePart)
        whole = kFarOutOfRange;
    std::int64_t fraction = 0;
    if (i < text.size()) {
        if (text[i] != point || i + 1 == text.size())
            return std::nullopt;
        int decimals = 0;
        for (++i; i < text.size(); ++i, ++decimals) {
            if (!IsDigit(text[i]))
                return std::nullopt;
            if (decimals < kDecimals)
                fraction = fraction * 10 + (text[i] - '0');
            else if (text[i] != '0')
                tooPrecise = true;
        }
        for (; decimals < kDecimals; ++decimals)
            fraction *= 10;
    }
    if (tooPrecise)
        return std::nullopt;
    return whole * 1000 + fraction;
}

} // namespace

FrequencyRange FrequencyRange::AtRate(int rate) {
    // 0.45 of the rate is 450 millihertz per sample per second.
    const std::int64_t highest = std::max<std::int64_t>(20000 * 1000, 450 * std::int64_t(rate));
    return {MilliHertz::FromHertz(1), MilliHertz{highest}};
}

FrequencyReading ReadFrequency(std::string_view text, int rate) {
    bool tooPrecise = false;
    const std::optional<std::int64_t> value = MilliHertzOf(text, '.', tooPrecise);
    if (!value) {
        if (tooPrecise)
            return {std::nullopt, FrequencyRefusal::TooManyDecimals};
        bool ignored = false;
        if (text.find(',') != std::string_view::npos && MilliHertzOf(text, ',', ignored))
            return {std::nullopt, FrequencyRefusal::Comma};
        return {std::nullopt, FrequencyRefusal::NotANumber};
    }
    const MilliHertz f{*value};
    if (!FrequencyRange::AtRate(rate).Holds(f))
        return {std::nullopt, FrequencyRefusal::OutOfRange};
    return {f, FrequencyRefusal::None};
}

std::string FrequencyText(MilliHertz f) {
    std::string text = std::to_string(f.value / 1000);
    std::int64_t fraction = f.value % 1000;
    if (fraction == 0)
        return text;
    std::string decimals = std::to_string(fraction);
    decimals.insert(0, std::size_t(kDecimals) - decimals.size(), '0');
    while (decimals.back() == '0')
        decimals.pop_back();
    return text + "." + decimals;
}
