// SPDX-License-Identifier: GPL-3.0-or-later
#include "instrument/FrequencyDials.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <tuple>

using instrument::ComposeFrequency;
using instrument::DialNumber;

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
                ASSERT_GE(f, instrument::kMinFrequency);
                ASSERT_LE(f, instrument::kMaxFrequency);
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
