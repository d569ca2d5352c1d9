// SPDX-License-Identifier: GPL-3.0-or-later
// Stepped sweeps: the frequencies follow their law, each step holds its
// dwell to within a cycle and starts at a rising zero crossing, and the
// played sine keeps its phase and its level across every step.

#include "engine/WaveHeader.h"
#include "engine/steps/StepSchedule.h"
#include "engine/steps/SteppedSweepSource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <numbers>
#include <string>

namespace {

struct LawRow {
    SteppedSweepSettings settings;
    int rate;
};

std::string Describe(const SteppedSweepSettings& s) {
    return std::to_string(s.f1) + ".." + std::to_string(s.f2) + " x" + std::to_string(s.count) +
           (s.linear ? " linear" : " log") + (s.upDown ? " up-down" : "") + " dwell " +
           std::to_string(s.dwellMs);
}

TEST(StepSchedule, FollowsTheLawAndHoldsEachDwellToWithinACycle) {
    const LawRow rows[] = {
        {{20, 20000, 31, false, 10, false}, 48000}, {{20, 20000, 31, false, 60000, true}, 48000},
        {{100, 1000, 10, true, 250, false}, 44100}, {{10000, 1000, 7, false, 1000, true}, 96000},
        {{997, 997, 1, false, 37, false}, 48000},   {{1, 43200, 50, false, 10, false}, 96000},
    };
    double mostOver = 0, mostOverCycles = 0; // beyond the dwell: seconds, cycles
    for (const LawRow& r : rows) {
        const SteppedSweepSettings& s = r.settings;
        SCOPED_TRACE(Describe(s));
        const StepSchedule schedule = BuildStepSchedule(s, r.rate);
        ASSERT_EQ(schedule.refusal, StepRefusal::None);
        const std::size_t n = std::size_t(s.count);
        ASSERT_EQ(schedule.steps.size(), s.upDown ? 2 * n - 1 : n);
        for (std::size_t i = 0; i < schedule.steps.size(); ++i) {
            const std::size_t k = i < n ? i : 2 * n - 2 - i;
            const long double x = n == 1 ? 0.0L : static_cast<long double>(k) / (n - 1);
            const long double law =
                s.linear ? s.f1 + x * (s.f2 - s.f1)
                         : s.f1 * std::exp(x * std::log(static_cast<long double>(s.f2) / s.f1));
            const SweepStep& step = schedule.steps[i];
            EXPECT_NEAR(step.hertz, static_cast<double>(law), 1e-6);
            const std::uint64_t end = i + 1 < schedule.steps.size()
                                          ? schedule.steps[i + 1].startFrame
                                          : schedule.endFrame;
            const double held = double(end - step.startFrame) / r.rate;
            const double asked = s.dwellMs / 1000.0;
            EXPECT_GE(held, asked);
            EXPECT_LE(held, asked + 1 / step.hertz + 1.0 / r.rate);
            mostOver = std::max(mostOver, held - asked);
            mostOverCycles = std::max(mostOverCycles, (held - asked) * step.hertz);
        }
    }
    std::printf("steps held at most %.3f ms and %.3f cycles beyond their dwell\n", mostOver * 1000,
                mostOverCycles);
}

TEST(StepSchedule, RefusesCountsDwellsAndFrequenciesOutOfRange) {
    struct Row {
        SteppedSweepSettings settings;
        StepRefusal refusal;
    };
    const Row rows[] = {
        {{100, 1000, 0, false, 100, false}, StepRefusal::BadCount},
        {{100, 1000, 10001, false, 100, false}, StepRefusal::BadCount},
        {{100, 1000, 5, false, 9, false}, StepRefusal::BadDwell},
        {{100, 1000, 5, false, 60001, false}, StepRefusal::BadDwell},
        {{0.5, 1000, 5, false, 100, false}, StepRefusal::BadFrequency},
        {{100, 21601, 5, false, 100, false}, StepRefusal::BadFrequency},
        {{100, NAN, 5, false, 100, false}, StepRefusal::BadFrequency},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(Describe(r.settings));
        EXPECT_EQ(BuildStepSchedule(r.settings, 48000).refusal, r.refusal);
    }
}

TEST(SteppedSweepSource, StepsAtRisingZerosKeepingPhaseAndLevel) {
    const SteppedSweepSettings settings{1000, 8000, 5, false, 20, true};
    const int rate = 48000;
    WaveFormat format;
    format.rate = rate;
    format.wide = WideSamples::Float32;
    const double peak = 0.5;
    SteppedSweepSource source(BuildStepSchedule(settings, rate), format, peak);
    const StepSchedule& schedule = source.Schedule();
    const std::size_t total = std::size_t(schedule.endFrame) + 1000;
    std::vector<std::uint8_t> bytes(total * 4);
    // In uneven pieces, as an output pulls them.
    for (std::size_t done = 0, piece = 1; done < total; done += piece, piece = piece * 3 % 997 + 1)
        source.Render(std::min(piece, total - done), bytes.data() + 4 * done);
    EXPECT_EQ(source.CurrentStep(), schedule.steps.size() - 1);
    EXPECT_TRUE(source.Finished());
    std::vector<double> x(total);
    for (std::size_t i = 0; i < total; ++i) {
        float v;
        std::memcpy(&v, bytes.data() + 4 * i, 4);
        x[i] = v;
    }
    // The phase carried over frame by frame, independently of the source.
    long double cycles = 0;
    double worst = 0;
    std::size_t step = 0;
    for (std::size_t i = 0; i < schedule.endFrame; ++i) {
        if (step + 1 < schedule.steps.size() && i == schedule.steps[step + 1].startFrame) {
            ++step;
            EXPECT_LE(x[i - 1], 0) << "step " << step;
            EXPECT_GE(x[i], 0) << "step " << step;
        }
        worst = std::max(worst,
                         std::fabs(x[i] - peak * std::sin(2 * std::numbers::pi * double(cycles))));
        cycles += schedule.steps[step].hertz / rate;
        cycles -= std::floor(cycles);
    }
    EXPECT_LT(worst, 1e-6);
    for (std::size_t i = schedule.endFrame; i < total; ++i)
        ASSERT_EQ(x[i], 0);
    // 2 ms windows around every step hold the level.
    const std::size_t window = rate / 500;
    double lowest = 1;
    for (std::size_t k = 1; k < schedule.steps.size(); ++k)
        for (std::size_t start = schedule.steps[k].startFrame - window;
             start <= schedule.steps[k].startFrame; start += 8) {
            double sum = 0;
            for (std::size_t i = start; i < start + window; ++i)
                sum += x[i] * x[i];
            lowest = std::min(lowest, std::sqrt(sum / window) / (peak / std::numbers::sqrt2));
        }
    std::printf("lowest 2 ms RMS at a step: %.4f of the level\n", lowest);
    EXPECT_GE(lowest, 0.9);

    // Exported whole: the same frames, then silence to the millisecond.
    const std::string path = ::testing::TempDir() + "stepped-sweep.wav";
    ASSERT_EQ(ExportSteppedSweep(schedule, format, peak, path), 0);
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
    std::remove(path.c_str());
    const std::size_t frames = (schedule.endFrame * 1000 + rate - 1) / rate * rate / 1000;
    ASSERT_EQ(file.size(), WaveImageSize(format, std::uint32_t(frames * 4)));
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + std::ptrdiff_t(frames * 4),
                           file.begin() + std::ptrdiff_t(WaveHeaderSize(format))));
    EXPECT_EQ(ExportSteppedSweep(StepSchedule{}, format, peak, path), EINVAL);
}

} // namespace
