// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/analog/ValueFormat.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

// Significant decimal digits taken from the binary number before rounding.
// Fifteen is what a double holds faithfully, so 0.285 rounds at two places
// as the 0.285 the user sees, not as 0.28499999999999998.
constexpr int kSignificantDigits = 15;

struct Section {
    std::string_view text;
    int intPlaceholders = 0; // "0" and "#" before the separator
    int minIntDigits = 0;    // from the first "0" before the separator on
    int fracPlaceholders = 0;
    int minFracDigits = 0; // up to the last "0" after the separator
};

Section Analyse(std::string_view text) {
    Section s;
    s.text = text;
    bool afterPoint = false;
    int firstZero = -1;
    for (char c : text) {
        if (c == '.') {
            afterPoint = true;
        } else if (c == '0' || c == '#') {
            if (afterPoint) {
                ++s.fracPlaceholders;
                if (c == '0')
                    s.minFracDigits = s.fracPlaceholders;
            } else {
                if (c == '0' && firstZero < 0)
                    firstZero = s.intPlaceholders;
                ++s.intPlaceholders;
            }
        }
    }
    if (firstZero >= 0)
        s.minIntDigits = s.intPlaceholders - firstZero;
    return s;
}

// |value| as decimal digits rounded at `decimals` places, halves away from
// zero: the integer digits without leading zeros and exactly `decimals`
// fraction digits.
struct Decimal {
    std::string intDigits;
    std::string fracDigits;
    bool IsZero() const {
        return intDigits.find_first_not_of('0') == std::string::npos &&
               fracDigits.find_first_not_of('0') == std::string::npos;
    }
};

Decimal Round(double magnitude, int decimals) {
    Decimal d;
    // Mantissa digits and decimal exponent of the leading digit.
    std::array<char, 64> buf{};
    std::snprintf(buf.data(), buf.size(), "%.*e", kSignificantDigits - 1, magnitude);
    std::string digits;
    const char* p = buf.data();
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            digits += *p;
    int exponent = (*p == 'e') ? std::atoi(p + 1) : 0;
    if (magnitude == 0.0) {
        digits.assign(1, '0');
        exponent = 0;
    }
    // Position (in digits) of the decimal point: digits[0..point) is the
    // integer part. Pad with zeros so that every needed position exists.
    int point = exponent + 1;
    if (point < 0) {
        digits.insert(0, static_cast<size_t>(-point), '0');
        point = 0;
    }
    const int keep = point + decimals;
    if (static_cast<int>(digits.size()) < keep + 1)
        digits.append(static_cast<size_t>(keep + 1 - static_cast<int>(digits.size())), '0');
    const bool up = digits[static_cast<size_t>(keep)] >= '5';
    digits.resize(static_cast<size_t>(keep));
    if (up) {
        int i = keep - 1;
        for (; i >= 0; --i) {
            if (digits[static_cast<size_t>(i)] == '9') {
                digits[static_cast<size_t>(i)] = '0';
            } else {
                ++digits[static_cast<size_t>(i)];
                break;
            }
        }
        if (i < 0) {
            digits.insert(digits.begin(), '1');
            ++point;
        }
    }
    d.intDigits = digits.substr(0, static_cast<size_t>(point));
    d.fracDigits = digits.substr(static_cast<size_t>(point));
    const size_t nonZero = d.intDigits.find_first_not_of('0');
    d.intDigits.erase(0, nonZero == std::string::npos ? d.intDigits.size() : nonZero);
    return d;
}

std::string Apply(const Section& s, Decimal d, bool minus) {
    // Optional fraction digits are dropped while they are zero.
    while (static_cast<int>(d.fracDigits.size()) > s.minFracDigits && d.fracDigits.back() == '0')
        d.fracDigits.pop_back();
    std::string intDigits = d.intDigits;
    if (static_cast<int>(intDigits.size()) < s.minIntDigits)
        intDigits.insert(0, static_cast<size_t>(s.minIntDigits) - intDigits.size(), '0');

    std::string out;
    if (minus)
        out += '-';
    // The first integer placeholder also writes every digit the pattern has
    // no place for.
    const int surplus = static_cast<int>(intDigits.size()) - s.intPlaceholders;
    int intIndex = 0;
    int fracIndex = 0;
    bool afterPoint = false;
    for (char c : s.text) {
        if (c == '.') {
            afterPoint = true;
            if (!d.fracDigits.empty())
                out += '.';
        } else if (c == '0' || c == '#') {
            if (afterPoint) {
                if (fracIndex < static_cast<int>(d.fracDigits.size()))
                    out += d.fracDigits[static_cast<size_t>(fracIndex)];
                ++fracIndex;
            } else {
                if (intIndex == 0 && surplus > 0)
                    out.append(intDigits, 0, static_cast<size_t>(surplus));
                const int at = surplus + intIndex;
                if (at >= 0)
                    out += intDigits[static_cast<size_t>(at)];
                ++intIndex;
            }
        } else {
            out += c;
        }
    }
    return out;
}

std::string Shortest(double value) {
    std::array<char, 64> buf{};
    auto res = std::to_chars(buf.data(), buf.data() + buf.size(), value);
    return std::string(buf.data(), res.ptr);
}

} // namespace

std::string FormatValue(double value, std::string_view pattern) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (pattern.empty())
        return Shortest(value);

    std::vector<std::string_view> sections;
    size_t start = 0;
    for (size_t i = 0; i <= pattern.size() && sections.size() < 3; ++i) {
        if (i == pattern.size() || pattern[i] == ';') {
            sections.push_back(pattern.substr(start, i - start));
            start = i + 1;
        }
    }
    const Section positive = Analyse(sections[0]);
    const bool negative = value < 0;
    const double magnitude = std::fabs(value);

    // The section is chosen by the number as the positive section rounds it,
    // so a number that rounds to zero is written as zero (and without "-").
    const Decimal rounded = Round(magnitude, positive.fracPlaceholders);
    if (rounded.IsZero()) {
        if (sections.size() > 2 && !sections[2].empty()) {
            const Section zero = Analyse(sections[2]);
            return Apply(zero, Round(0.0, zero.fracPlaceholders), false);
        }
        return Apply(positive, rounded, false);
    }
    if (negative && sections.size() > 1 && !sections[1].empty()) {
        const Section neg = Analyse(sections[1]);
        return Apply(neg, Round(magnitude, neg.fracPlaceholders), false);
    }
    return Apply(positive, rounded, negative);
}
