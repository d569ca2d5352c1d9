// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/LoopLength.h"
#include "engine/NoteName.h"
#include "engine/signals/MeasurementSignal.h"

#include <gtest/gtest.h>

#include <ostream>
#include <tuple>

using loop_length::LoopDurationMs;
using loop_length::ToneLoopDurationMs;

class LoopDurationTest : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(LoopDurationTest, IsTheShortestWholePeriodLoop) {
    const auto [hertz, ms] = GetParam();
    EXPECT_EQ(LoopDurationMs(hertz), ms);
}

INSTANTIATE_TEST_SUITE_P(Frequencies, LoopDurationTest,
                         ::testing::Values(std::tuple{1000, 100}, std::tuple{20, 100},
                                           std::tuple{20000, 100}, std::tuple{1001, 1000},
                                           std::tuple{1002, 500}, std::tuple{1004, 500},
                                           std::tuple{1005, 200}, std::tuple{1015, 200},
                                           std::tuple{21, 1000}, std::tuple{19999, 1000}));

TEST(LoopDuration, EveryFrequencyFitsWholePeriodsAndNoShorterLoopDoes) {
    for (int f = kMinToneFrequency; f <= kMaxToneFrequency; ++f) {
        const int ms = LoopDurationMs(f);
        // f * ms / 1000 periods must be whole.
        ASSERT_EQ(f * ms % 1000, 0) << f;
        for (int shorter : {100, 200, 500}) {
            if (shorter < ms) {
                ASSERT_NE(f * shorter % 1000, 0) << f << " fits in " << shorter;
            }
        }
    }
}

struct ToneLoop {
    TTGWave wave;
    int hertz;
    bool precise;
    int ms;
};

// A failing row names its arguments.
void PrintTo(const ToneLoop& c, std::ostream* os) {
    *os << "wave " << int(c.wave) << ", " << c.hertz << " Hz, "
        << (c.precise ? "precise" : "classic") << " -> " << c.ms << " ms";
}

class ToneLoopDurationTest : public ::testing::TestWithParam<ToneLoop> {};

TEST_P(ToneLoopDurationTest, PreciseNoiseLoopsLongEverythingElseWholePeriods) {
    const ToneLoop& c = GetParam();
    EXPECT_EQ(ToneLoopDurationMs(c.wave, c.hertz, c.precise), c.ms);
}

INSTANTIATE_TEST_SUITE_P(
    Waves, ToneLoopDurationTest,
    ::testing::Values(ToneLoop{TTGWave::tgNoise, 1000, true, 10000},
                      ToneLoop{TTGWave::tgNoise, 1001, true, 10000},
                      // Stored codes above the noise code synthesise noise too.
                      ToneLoop{static_cast<TTGWave>(7), 1001, true, 10000},
                      ToneLoop{TTGWave::tgNoise, 1001, false, 1000},
                      ToneLoop{TTGWave::tgSine, 1001, true, 1000},
                      ToneLoop{TTGWave::tgSawtooth, 1005, true, 200},
                      ToneLoop{TTGWave::tgSquare, 1000, false, 100}));

// Whole periods of every tone the signal holds: the right channel's own
// frequency too (1000 and 1001 Hz meet again after 1 s), and both tones of
// SMPTE (60 and 7000 Hz) and CCIF (19 and 20 kHz).
TEST(SignalLoopDuration, HoldsWholePeriodsOfEveryTone) {
    struct Row {
        SignalKind kind;
        int frequency, rightFrequency, ms;
    };
    const Row rows[] = {{SignalKind::Tone, 1000, 1001, 1000}, {SignalKind::Tone, 440, 441, 1000},
                        {SignalKind::Tone, 1000, 0, 100},     {SignalKind::Tone, 1000, 1010, 100},
                        {SignalKind::Smpte, 1001, 0, 100},    {SignalKind::Ccif, 1001, 0, 100}};
    for (const Row& r : rows) {
        MeasurementSignal signal;
        signal.kind = r.kind;
        signal.rightFrequency = r.rightFrequency;
        EXPECT_EQ(SignalLoopDurationMs(signal, r.frequency), r.ms)
            << int(r.kind) << ": " << r.frequency << " and " << r.rightFrequency << " Hz";
    }
}
