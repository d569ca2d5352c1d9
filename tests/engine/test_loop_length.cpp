// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/LoopLength.h"
#include "engine/NoteName.h"

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
    ::testing::Values(ToneLoop{TTGWave::tgNoise, 1000, true, loop_length::kNoiseLoopMs},
                      ToneLoop{TTGWave::tgNoise, 1001, true, loop_length::kNoiseLoopMs},
                      // Stored codes above the noise code synthesise noise too.
                      ToneLoop{static_cast<TTGWave>(7), 1001, true, loop_length::kNoiseLoopMs},
                      ToneLoop{TTGWave::tgNoise, 1001, false, 1000},
                      ToneLoop{TTGWave::tgSine, 1001, true, 1000},
                      ToneLoop{TTGWave::tgSawtooth, 1005, true, 200},
                      ToneLoop{TTGWave::tgSquare, 1000, false, 100}));
