// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One contribution to the sample data: the main tone or one AM level.

#include "engine/ToneGenTypes.h"
#include "engine/WaveFormat.h"

#include <cmath>
#include <cstdint>

struct ToneComponent {
    int level = 0;     // percent of full scale
    int frequency = 0; // whole hertz
    TTGWave wave = TTGWave::tgSine;

    // A component at level or frequency 0 or less adds nothing.
    bool Audible() const { return level > 0 && frequency > 0; }
};

// What a component's waveform is derived from. Every value here decides
// sample values, so the precision of each is part of the contract.
struct ComponentShape {
    double span = 0;      // peak to peak, not truncated
    double bottom = 0;    // the lowest value
    double period = 0;    // P, samples per period
    int periodLength = 0; // P truncated
    int halfLength = 0;   // (P + 0.5) truncated, halved

    static ComponentShape Derive(const ToneComponent& c, const WaveFormat& format) {
        ComponentShape s;
        if (format.sixteenBit) {
            s.span = double(c.level * 65534) / 100;
            s.bottom = -double(c.level * 32767) / 100;
        } else {
            s.span = double(c.level * 254) / 100;
            s.bottom = -double(c.level * 127) / 100;
        }
        s.period = double(format.SamplesPerSecond()) / c.frequency;
        s.periodLength = static_cast<int>(s.period);
        s.halfLength = static_cast<int>(s.period + 0.5) / 2;
        return s;
    }

    // A triangle needs at least one rising sample per period; with a half
    // length of 0 (far above the Nyquist limit) it has no defined step and
    // is left out rather than drawn as a constant offset.
    bool Drawable(TTGWave wave) const {
        return periodLength > 0 && !(wave == TTGWave::tgTriangle && halfLength == 0);
    }
};

// The lengths of successive periods: period p ends at sample (p * P)
// truncated, so the average frequency is exact while single periods are P
// truncated or one sample longer.
inline int PeriodLengthOf(long p, double period) {
    const long double P = period;
    const long double end = static_cast<long double>(p) * P;
    const long double previousEnd = std::trunc(static_cast<long double>(p - 1) * P);
    return static_cast<int>(std::trunc(end - previousEnd));
}
