// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The schedule of a stepped sweep: N frequencies from F1 to F2 (on a log
// law by default, or evenly), optionally back again, each held for a dwell
// and left at the first rising zero crossing after it, so that each step
// begins where the sine crosses zero and continues its phase.
//
// The step frequencies are kept as exact values of the law, not on the
// millihertz grid of steady tones: a law F1 (F2/F1)^(k/(N-1)) rarely lands
// on it. The phase within a step is computed from the step's start (never
// accumulated), so it does not drift over the longest dwell.

#include <cstdint>
#include <vector>

struct SteppedSweepSettings {
    double f1 = 100;
    double f2 = 10000;
    int count = 10;
    bool linear = false;
    int dwellMs = 1000;  // 10 .. 60,000
    bool upDown = false; // F1 .. F2, then back down to F1 (F2 once)

    bool operator==(const SteppedSweepSettings&) const = default;
};

inline constexpr int kShortestDwellMs = 10;
inline constexpr int kLongestDwellMs = 60000;
inline constexpr int kMostSteps = 10000;

struct SweepStep {
    double hertz = 0;
    std::uint64_t startFrame = 0;
    // In cycles, 0 <= phase < 1: where the sine stands at the start frame,
    // just past the zero crossing (0 for the first step).
    long double startPhase = 0;
};

enum class StepRefusal : std::uint8_t { None, BadCount, BadFrequency, BadDwell, BadRate };

struct StepSchedule {
    StepRefusal refusal = StepRefusal::None;
    int rate = 0;
    std::vector<SweepStep> steps;
    // The frame after the last step's dwell, at its zero crossing: the
    // sweep is silent from here on.
    std::uint64_t endFrame = 0;

    // The phase in cycles (not reduced) of step k at an absolute frame.
    long double PhaseAt(std::size_t k, std::uint64_t frame) const {
        const SweepStep& s = steps[k];
        return s.startPhase + static_cast<long double>(frame - s.startFrame) * s.hertz / rate;
    }
};

// The law alone: the frequencies in playing order (2N - 1 with up-down).
// Empty when F1 or F2 is not above 0, or N is not 1..10,000.
std::vector<double> StepFrequencies(const SteppedSweepSettings& settings);

// Refuses a count outside 1..10,000, a dwell outside 10..60,000 ms, a
// frequency outside 1 Hz .. 0.45 of the rate (or 20 kHz, if higher), and a
// rate below 1,000.
StepSchedule BuildStepSchedule(const SteppedSweepSettings& settings, int rate);
