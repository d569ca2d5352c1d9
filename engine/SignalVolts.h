// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a sample level gives at a calibrated output's jack: a sine's RMS,
// peak-to-peak and dBu, and the RMS and peak volts of the waveform that
// actually plays. Every waveform plays at the same peak as the sine of the
// same setting, so its RMS differs: the precise synthesis's square,
// triangle and sawtooth hold only their harmonics below half the rate,
// scaled so that their largest sample is the peak, and white noise is
// uniform between the two peaks.

#include "engine/ToneGenTypes.h"

struct SineVolts {
    double rms = 0;
    double peakToPeak = 0;
    double dbu = 0;
};

struct WaveVolts {
    double rms = 0;
    double peak = 0;
};

// `fullScaleVolts`: the output's calibration (the RMS volts of a full-scale
// sine).
SineVolts SineVoltsAt(double peakDb, double fullScaleVolts);
WaveVolts WaveVoltsAt(TTGWave wave, int frequency, int rate, double peakDb, double fullScaleVolts);

// The RMS of the waveform relative to its peak: 1/sqrt(2) for the sine,
// 1/sqrt(3) for white noise, and for the band-limited shapes that of their
// harmonics at `frequency` and `rate`.
double RmsPerPeak(TTGWave wave, int frequency, int rate);
