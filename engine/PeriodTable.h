// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The value added at each sample of one period of a periodic waveform. Sine,
// square, triangle and sawtooth restart at the same phase in every period,
// so sample j of any period gets the same value; computing a period once
// gives the same bytes as computing every sample.

#include "engine/ToneComponent.h"
#include "engine/WaveFormat.h"

#include <cmath>
#include <cstdint>
#include <vector>

// Turns a raw value into what the image adds: 16-bit adds the value
// truncated toward zero, 8-bit adds (v + 128) truncated, less 128, which
// rounds a fractional value down.
template <class Sample> Sample SampleDelta(double v);
template <> inline std::uint16_t SampleDelta<std::uint16_t>(double v) {
    return static_cast<std::uint16_t>(static_cast<std::int32_t>(v));
}
template <> inline std::uint8_t SampleDelta<std::uint8_t>(double v) {
    return static_cast<std::uint8_t>(static_cast<std::int32_t>(v + 128) - 128);
}

// Raw values of samples 0 .. length-1 of one period, following the
// per-sample recurrence of each waveform (the accumulators restart at
// `bottom` with every period, the sine at angle 0).
template <class Sample>
std::vector<Sample> PeriodDeltas(TTGWave wave, const ComponentShape& s, int length) {
    std::vector<Sample> out(static_cast<std::size_t>(length));
    switch (wave) {
    case TTGWave::tgSine: {
        // 2 pi in extended precision; the step itself is held as a double.
        constexpr long double kTwoPi = 6.283185307179586477L;
        const double step = static_cast<double>(kTwoPi / s.periodLength);
        const long double span = s.span;
        for (int j = 0; j < length; ++j) {
            const long double v = std::sin(static_cast<long double>(j) * step) / 2 * span;
            out[j] = static_cast<Sample>(static_cast<std::int32_t>(v));
        }
        break;
    }
    case TTGWave::tgSquare: {
        const double high = s.span / 2;
        for (int j = 0; j < length; ++j)
            out[j] = SampleDelta<Sample>(j < s.halfLength ? s.bottom : high);
        break;
    }
    case TTGWave::tgTriangle: {
        const double step = s.span / s.halfLength;
        double acc = s.bottom;
        for (int j = 0; j < length; ++j) {
            out[j] = SampleDelta<Sample>(std::trunc(acc));
            if (j < s.halfLength) {
                acc += step;
            } else {
                acc -= step;
                if (acc < s.bottom)
                    acc = s.bottom;
            }
        }
        break;
    }
    case TTGWave::tgSawtooth: {
        const double step = s.span / s.periodLength;
        double acc = s.bottom;
        for (int j = 0; j < length; ++j) {
            out[j] = SampleDelta<Sample>(std::trunc(acc));
            acc += step;
        }
        break;
    }
    default:
        break; // noise has no period
    }
    return out;
}
