// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Colour arithmetic shared by the gradient painter and the bevels. Every
// function here works on colours that are already resolved to red, green
// and blue (no system colours), so it needs no window system and can be
// checked exactly.

#include "core/TColor.h"

#include <cmath>
#include <cstdint>

// The three channels of a resolved colour, kept as ints so that signed
// differences between two colours can be held in the same type.
struct TColorChannels {
    int r = 0;
    int g = 0;
    int b = 0;

    static constexpr TColorChannels Of(TColor rgb) {
        return {GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)};
    }
    // Channels are wrapped into a byte, as the painter's "modulo 256" rule says.
    constexpr TColor ToColor() const {
        return RGBColor(std::uint8_t(r & 0xFF), std::uint8_t(g & 0xFF), std::uint8_t(b & 0xFF));
    }
    friend constexpr TColorChannels operator-(TColorChannels a, TColorChannels b) {
        return {a.r - b.r, a.g - b.g, a.b - b.b};
    }
    friend constexpr bool operator==(TColorChannels, TColorChannels) = default;
};

namespace color_steps {

// Round to nearest with halves to the even neighbour (the default FP mode).
inline long RoundHalfEven(double x) {
    return std::lrint(x);
}

// The ratio d/m as the painter holds it: a 32-bit float.
inline float Ratio(int d, int m) {
    return static_cast<float>(d) / static_cast<float>(m);
}

// (from + round(t * d/m)) modulo 256 for one channel; t may be a half step.
inline int SteppedChannel(int from, int d, double t, int m) {
    return int((from + RoundHalfEven(t * double(Ratio(d, m)))) & 0xFF);
}

// trunc(from + i * d/k) for one channel.
inline int BandedChannel(int from, int d, int i, int k) {
    return int(std::trunc(double(from) + double(i) * double(Ratio(d, k)))) & 0xFF;
}

} // namespace color_steps

// The stepped colour S(t, m) between two resolved colours: step t of m,
// rounded per channel. S(0, m) is `from`, S(m, m) is `to`.
inline TColor SteppedColor(TColorChannels from, TColorChannels delta, double t, int m) {
    using color_steps::SteppedChannel;
    return TColorChannels{SteppedChannel(from.r, delta.r, t, m),
                          SteppedChannel(from.g, delta.g, t, m),
                          SteppedChannel(from.b, delta.b, t, m)}
        .ToColor();
}

// The banded colour B(i, k): band i of k, truncated per channel.
inline TColor BandedColor(TColorChannels from, TColorChannels delta, int i, int k) {
    using color_steps::BandedChannel;
    return TColorChannels{BandedChannel(from.r, delta.r, i, k),
                          BandedChannel(from.g, delta.g, i, k),
                          BandedChannel(from.b, delta.b, i, k)}
        .ToColor();
}

// Step `step` of `steps` from one resolved colour to another. A step count
// of 0 counts as 1, so a caller with an empty range gets `to` rather than a
// division by zero.
inline TColor BlendResolved(TColor fromRgb, TColor toRgb, int steps, int step) {
    if (steps == 0)
        steps = 1;
    const TColorChannels from = TColorChannels::Of(fromRgb);
    return SteppedColor(from, TColorChannels::Of(toRgb) - from, step, steps);
}

// The number of gradient steps: the largest channel difference (0 to 255).
inline int GradientStepCount(TColorChannels delta) {
    const int r = delta.r < 0 ? -delta.r : delta.r;
    const int g = delta.g < 0 ? -delta.g : delta.g;
    const int b = delta.b < 0 ? -delta.b : delta.b;
    return r > g ? (r > b ? r : b) : (g > b ? g : b);
}
