// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A number as a client wrote it ("997.1235E3", "-6", ".5"), kept exact:
// its significant digits and a power of ten. A frequency's millihertz or a
// dwell's milliseconds are then taken from the digits themselves, so that
// "1.0005 kHz" is exactly 1000500 mHz and "1.00005 kHz" is known to have
// one decimal too many, which a double could not tell.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace remote {

class DecimalNumber {
public:
    // Reads [+|-]digits[.digits][E[+|-]digits] (or a point and digits
    // without whole digits) at the start of `text`; sets `length` to the
    // characters read. None when the text does not start with a number.
    static std::optional<DecimalNumber> Read(std::string_view text, std::size_t& length);

    enum class Scaling : std::uint8_t { Exact, NotWhole, TooLarge };
    // The value times 10^power as a whole number, when it is one and fits
    // (an absolute value below 10^18); `scaling` says why not.
    std::optional<std::int64_t> Scaled(int power, Scaling& scaling) const;
    // The nearest double: infinite beyond its range.
    double Value() const;

private:
    bool negative_ = false;
    std::string digits_;     // no leading or trailing zeros; empty for 0
    std::int64_t power_ = 0; // the value is digits_ * 10^power_
};

} // namespace remote
