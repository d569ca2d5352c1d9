// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A frequency with at most three decimals, held as a whole number of
// millihertz so that it is exact: 997.123 Hz is 997123. The phase of a
// tone at such a frequency is a fraction of whole numbers (see
// StreamPhase.h), which is what keeps it from drifting.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct MilliHertz {
    std::int64_t value = 0;

    static constexpr MilliHertz FromHertz(std::int64_t hertz) { return {hertz * 1000}; }
    bool IsWholeHertz() const { return value % 1000 == 0; }
    double Hertz() const { return double(value) / 1000; }
    auto operator<=>(const MilliHertz&) const = default;
};

// The frequencies a streamed tone may have at a sample rate: from 1 Hz up
// to 20000 Hz or 0.45 of the rate, whichever is higher.
struct FrequencyRange {
    MilliHertz lowest;
    MilliHertz highest;

    static FrequencyRange AtRate(int rate);
    bool Holds(MilliHertz f) const { return lowest <= f && f <= highest; }
};

// Why a frequency's text was refused. `Comma` is a number written with a
// decimal comma ("997,123"): it is refused on its own, so that the message
// can say to use a point.
enum class FrequencyRefusal : std::uint8_t { None, NotANumber, Comma, TooManyDecimals, OutOfRange };

struct FrequencyReading {
    std::optional<MilliHertz> frequency;
    FrequencyRefusal refusal = FrequencyRefusal::None;
};

// Reads "997", "997.5" or "997.123": digits, then optionally a point and
// one to three digits (more are taken only when they are zeros, since the
// value is then still exact). No sign, no spaces, no exponent. The value
// must lie within FrequencyRange::AtRate(rate).
FrequencyReading ReadFrequency(std::string_view text, int rate);

// "997.123", "12.5", "1000": with a point, without trailing zeros.
std::string FrequencyText(MilliHertz f);
