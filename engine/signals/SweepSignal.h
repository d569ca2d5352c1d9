// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A sine sweep from one frequency to another: the synchronized exponential
// sweep (its rate rounded so that the phase is a whole number of cycles
// wherever the frequency passes a multiple of the start), or a linear one.
// Phase-continuous, at constant amplitude between optional raised-cosine
// fades.

#include <cstddef>
#include <vector>

struct SweepSettings {
    // Hertz on the 1 mHz grid: whole hertz make the same sweep as ever.
    double startHz = 20;
    double endHz = 20000;
    int durationMs = 10000; // asked for; the exponential sweep rounds it
    bool linear = false;
    int fadeMs = 0; // each end, raised cosine
    // For a looped image: without fades, the sweep runs on to the end of
    // its last cycle, so the repetition starts where the wave is.
    bool joinLoop = false;

    bool operator==(const SweepSettings&) const = default;
};

// The phase law of a sweep, in cycles, as a function of time in seconds.
class SweepLaw {
public:
    explicit SweepLaw(const SweepSettings& settings);

    double DurationSeconds() const { return duration_; }
    double Cycles(double t) const;
    double FrequencyAt(double t) const;
    // The synchronized sweep's rate L in seconds (0 for a linear sweep).
    double Rate() const { return rate_; }

private:
    double start_;
    double end_;
    bool linear_;
    double rate_ = 0;
    double duration_;
};

// The sweep at `sampleRate`, scaled to a peak of 1: round(duration * rate)
// samples, plus the tail that completes the last cycle with joinLoop.
std::vector<double> SweepSamples(const SweepSettings& settings, int sampleRate);
// How many samples SweepSamples gives, without making them: how long a
// looped sweep's image repeats in.
std::size_t SweepSampleCount(const SweepSettings& settings, int sampleRate);
