#include "panel/FrequencyDials.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <tuple>

using panel::ComposeFrequency;
using panel::DialNumber;
using panel::LoopDurationMs;
using panel::ToneLoopDurationMs;

struct Composition {
    const char* thousands;
    const char* hundreds;
    const char* units;
    int hertz;
};

class ComposeFrequencyTest : public ::testing::TestWithParam<Composition> {};

TEST_P(ComposeFrequencyTest, ReadsTheThreeTextsAsOneNumber) {
    const auto& c = GetParam();
    EXPECT_EQ(ComposeFrequency(c.thousands, c.hundreds, c.units), c.hertz);
}

INSTANTIATE_TEST_SUITE_P(
    Dials, ComposeFrequencyTest,
    ::testing::Values(Composition{"01", "0", "00", 1000}, Composition{"12", "3", "45", 12345},
                      Composition{"20", "0", "00", 20000}, Composition{"00", "0", "20", 20},
                      Composition{"00", "5", "00", 500}, Composition{"00", "0", "99", 99},
                      // The units dial's "100" at the end of the 10 Hz step reads as the 90
                      // it is about to show: no carry into the hundreds, no 10100.
                      Composition{"01", "0", "100", 1090}, Composition{"19", "9", "100", 19990},
                      Composition{"00", "0", "100", 90},
                      // Below and above the generator's range: limited, never wrapped.
                      Composition{"00", "0", "00", 20}, Composition{"00", "0", "05", 20},
                      Composition{"20", "9", "99", 20000}, Composition{"20", "5", "00", 20000},
                      Composition{"99", "9", "99", 20000}));

TEST(ComposeFrequency, NoTextEverWrapsThroughSixteenBits) {
    // A six-figure composition (65536 + 1000 would read as 1000 through a
    // 16-bit conversion) stays at the top of the range.
    EXPECT_EQ(ComposeFrequency("66", "5", "36"), 20000);
    for (int t = 0; t <= 99; ++t)
        for (int h = 0; h <= 9; ++h)
            for (int u : {0, 1, 50, 99, 100}) {
                char ts[12], hs[12], us[12]; // room for any int: no truncation warning
                std::snprintf(ts, sizeof ts, "%02d", t);
                std::snprintf(hs, sizeof hs, "%d", h);
                std::snprintf(us, sizeof us, "%02d", u);
                const int f = ComposeFrequency(ts, hs, us);
                ASSERT_GE(f, panel::kMinFrequency);
                ASSERT_LE(f, panel::kMaxFrequency);
            }
}

TEST(DialNumber, AnythingButDigitsIsZero) {
    EXPECT_EQ(DialNumber("050"), 50);
    EXPECT_EQ(DialNumber("100"), 100);
    EXPECT_EQ(DialNumber(""), 0);
    EXPECT_EQ(DialNumber("--"), 0);
    EXPECT_EQ(DialNumber("5a"), 0);
    EXPECT_EQ(DialNumber("-5"), 0);
    EXPECT_EQ(DialNumber("99999999999999999999"), 0);
}

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
    for (int f = panel::kMinFrequency; f <= panel::kMaxFrequency; ++f) {
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

class ToneLoopDurationTest : public ::testing::TestWithParam<ToneLoop> {};

TEST_P(ToneLoopDurationTest, PreciseNoiseLoopsLongEverythingElseWholePeriods) {
    const ToneLoop& c = GetParam();
    EXPECT_EQ(ToneLoopDurationMs(c.wave, c.hertz, c.precise), c.ms);
}

INSTANTIATE_TEST_SUITE_P(
    Waves, ToneLoopDurationTest,
    ::testing::Values(ToneLoop{TTGWave::tgNoise, 1000, true, panel::kNoiseLoopMs},
                      ToneLoop{TTGWave::tgNoise, 1001, true, panel::kNoiseLoopMs},
                      // Stored codes above the noise code synthesise noise too.
                      ToneLoop{static_cast<TTGWave>(7), 1001, true, panel::kNoiseLoopMs},
                      ToneLoop{TTGWave::tgNoise, 1001, false, 1000},
                      ToneLoop{TTGWave::tgSine, 1001, true, 1000},
                      ToneLoop{TTGWave::tgSawtooth, 1005, true, 200},
                      ToneLoop{TTGWave::tgSquare, 1000, false, 100}));
