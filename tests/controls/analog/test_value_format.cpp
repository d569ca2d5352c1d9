// SPDX-License-Identifier: GPL-3.0-or-later
// The value text pattern: digit placeholders, sections and rounding.

#include "controls/analog/ValueFormat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct FormatRow {
    double value;
    const char* pattern;
    const char* expected;
};

class ValueFormatTest : public testing::TestWithParam<FormatRow> {};

TEST_P(ValueFormatTest, WritesTheNumberAsThePatternSays) {
    const FormatRow& row = GetParam();
    EXPECT_EQ(FormatValue(row.value, row.pattern), row.expected)
        << row.value << " in \"" << row.pattern << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    PanelPatterns, ValueFormatTest,
    testing::Values(FormatRow{1.0, "00", "01"}, FormatRow{4.5000005f, "0", "5"},
                    FormatRow{50.0, "000", "050"}, FormatRow{99.0f, "00", "99"},
                    FormatRow{100.0f, "00", "100"}, FormatRow{0.000001f, "0", "0"},
                    FormatRow{20.0f, "00", "20"}));

INSTANTIATE_TEST_SUITE_P(Rounding, ValueFormatTest,
                         testing::Values(
                             // Halves go away from zero, not to the even neighbour.
                             FormatRow{2.5, "0", "3"}, FormatRow{-2.5, "0", "-3"},
                             FormatRow{0.5, "0", "1"},
                             // Rounded as the decimal number it reads as, not its binary neighbour.
                             FormatRow{12.35, "##0.0", "12.4"}, FormatRow{0.285, "0.00", "0.29"},
                             FormatRow{9.99, "0.0", "10.0"}, FormatRow{99.5, "00", "100"},
                             FormatRow{12.345, "##0.0", "12.3"},
                             FormatRow{1e20, "0", "100000000000000000000"}));

INSTANTIATE_TEST_SUITE_P(Placeholders, ValueFormatTest,
                         testing::Values(FormatRow{0.0, "##0.0", "0.0"},
                                         FormatRow{1234.5, "##0.0", "1234.5"},
                                         FormatRow{0.5, "#.##", ".5"}, FormatRow{1.0, "#.##", "1"},
                                         FormatRow{1.5, "0.0#", "1.5"},
                                         FormatRow{1.256, "0.0#", "1.26"}, FormatRow{0.0, "#", ""},
                                         FormatRow{7.0, "#", "7"}, FormatRow{1.5, "0 Hz", "2 Hz"},
                                         FormatRow{42.0, "<0>", "<42>"}));

INSTANTIATE_TEST_SUITE_P(
    Sections, ValueFormatTest,
    testing::Values(FormatRow{-5.0, "0;(0)", "(5)"}, FormatRow{5.0, "0;(0)", "5"},
                    FormatRow{0.0, "0.0;-0.0;zero", "zero"},
                    // A number that rounds to zero is zero: no sign, zero section.
                    FormatRow{-0.004, "0.00", "0.00"}, FormatRow{0.004, "0.0;-0.0;zero", "zero"},
                    // An empty section falls back to the positive one.
                    FormatRow{-5.0, "0.0;;zero", "-5.0"}, FormatRow{0.0, "0.0;-0.0;", "0.0"}));

INSTANTIATE_TEST_SUITE_P(
    Special, ValueFormatTest,
    testing::Values(FormatRow{std::numeric_limits<double>::quiet_NaN(), "0", "NAN"},
                    FormatRow{std::numeric_limits<double>::infinity(), "0", "INF"},
                    FormatRow{-std::numeric_limits<double>::infinity(), "0", "-INF"},
                    FormatRow{2.5, "", "2.5"}));

} // namespace
