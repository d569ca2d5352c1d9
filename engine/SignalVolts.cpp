// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/SignalVolts.h"

#include "engine/HarmonicSeries.h"
#include "engine/VoltReference.h"

#include <cmath>
#include <numbers>

SineVolts SineVoltsAt(double peakDb, double fullScaleVolts) {
    const double rms = fullScaleVolts * std::pow(10.0, peakDb / 20);
    return {rms, rms * kSinePeakToPeakPerRms, 20 * std::log10(rms / kDbuReferenceVolts)};
}

WaveVolts WaveVoltsAt(TTGWave wave, int frequency, int rate, double peakDb, double fullScaleVolts) {
    const double peak = fullScaleVolts * std::numbers::sqrt2 * std::pow(10.0, peakDb / 20);
    return {peak * RmsPerPeak(wave, frequency, rate), peak};
}

double RmsPerPeak(TTGWave wave, int frequency, int rate) {
    switch (wave) {
    case TTGWave::tgSine:
        return 1 / std::numbers::sqrt2;
    case TTGWave::tgSquare:
    case TTGWave::tgTriangle:
    case TTGWave::tgSawtooth: {
        // Each harmonic of amplitude a carries a^2 / 2 of the power.
        double power = 0;
        for (const Harmonic& h : BandLimitedSeries(wave, frequency, rate).harmonics)
            power += h.amplitude * h.amplitude / 2;
        return std::sqrt(power);
    }
    default:
        // Uniform between -peak and +peak (every code above the shapes
        // plays as noise).
        return 1 / std::numbers::sqrt3;
    }
}
