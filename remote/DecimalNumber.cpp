// SPDX-License-Identifier: GPL-3.0-or-later
#include "remote/DecimalNumber.h"

#include "remote/Characters.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace remote {
namespace {

// Exponents beyond this give a value no setting can take, however many
// digits stand before them; holding them here keeps the arithmetic from
// overflowing.
constexpr std::int64_t kLargestExponent = 1'000'000;
// Every whole number of this many digits fits an int64_t.
constexpr std::int64_t kSafeDigits = 18;

} // namespace

std::optional<DecimalNumber> DecimalNumber::Read(std::string_view text, std::size_t& length) {
    DecimalNumber number;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        number.negative_ = text[i++] == '-';
    std::size_t mantissaDigits = 0;
    std::int64_t fractionDigits = 0;
    std::string digits;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++mantissaDigits)
        digits += text[i];
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && IsDigit(text[i]); ++i, ++mantissaDigits, ++fractionDigits)
            digits += text[i];
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    std::int64_t exponent = 0;
    // An E is the exponent's only when digits follow it: "1EHZ" is not.
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e')) {
        std::size_t j = i + 1;
        bool negativeExponent = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            negativeExponent = text[j++] == '-';
        if (j < text.size() && IsDigit(text[j])) {
            for (; j < text.size() && IsDigit(text[j]); ++j)
                exponent = std::min(exponent * 10 + (text[j] - '0'), kLargestExponent);
            if (negativeExponent)
                exponent = -exponent;
            i = j;
        }
    }
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos) {
        digits.clear();
    } else {
        const std::size_t last = digits.find_last_not_of('0');
        number.power_ = exponent - fractionDigits + std::int64_t(digits.size() - 1 - last);
        digits = digits.substr(first, last + 1 - first);
    }
    number.digits_ = std::move(digits);
    length = i;
    return number;
}

std::optional<std::int64_t> DecimalNumber::Scaled(int power, Scaling& scaling) const {
    scaling = Scaling::Exact;
    if (digits_.empty())
        return 0;
    const std::int64_t zeros = power_ + power;
    // The last digit is not a zero, so any power below one is a fraction.
    if (zeros < 0) {
        scaling = Scaling::NotWhole;
        return std::nullopt;
    }
    if (std::int64_t(digits_.size()) + zeros > kSafeDigits) {
        scaling = Scaling::TooLarge;
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (const char c : digits_)
        value = value * 10 + (c - '0');
    for (std::int64_t k = 0; k < zeros; ++k)
        value *= 10;
    return negative_ ? -value : value;
}

double DecimalNumber::Value() const {
    if (digits_.empty())
        return 0;
    const std::string text = digits_ + "e" + std::to_string(power_);
    double magnitude = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
    if (error == std::errc::result_out_of_range) {
        // Too large or too small for a double: which, the digits' count
        // and the power tell.
        const bool large = std::int64_t(digits_.size()) + power_ > 0;
        magnitude = large ? std::numeric_limits<double>::infinity() : 0;
    }
    return negative_ ? -magnitude : magnitude;
}

} // namespace remote
