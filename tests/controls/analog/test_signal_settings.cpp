// SPDX-License-Identifier: GPL-3.0-or-later
// The signal settings: bounds, derived factors, copying and storing.

#include "controls/analog/SectorSettings.h"
#include "controls/analog/SignalSettings.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <vector>

namespace {

struct ChangeCounter {
    int count = 0;
    explicit ChangeCounter(TAbPersistent& p) {
        p.SetOnChange([this](TPersistent*) { ++count; });
    }
};

TEST(SignalSettings, StartsWithTheFactorsUncomputed) {
    TSignalSettings s;
    EXPECT_EQ(s.DigitalFrom(), 0);
    EXPECT_EQ(s.DigitalTo(), 1000);
    EXPECT_EQ(s.ValueFormat(), "##0.0");
    EXPECT_EQ(s.ValueUnit(), "%");
    EXPECT_EQ(s.Name1(), "SignalName1");
    EXPECT_EQ(s.Name2(), "SignalName2");
    EXPECT_EQ(s.ValueSpan(), 100.0f);
    EXPECT_EQ(s.DigitalSpan(), 1000);
    EXPECT_EQ(s.ValuesPerDigit(), 0.0f);
    EXPECT_EQ(s.DigitsPerValue(), 0.0f);
    EXPECT_EQ(s.PPTFactor(), 0.0f);
    s.Changed();
    EXPECT_FLOAT_EQ(s.ValuesPerDigit(), 0.1f);
    EXPECT_FLOAT_EQ(s.DigitsPerValue(), 10.0f);
    EXPECT_FLOAT_EQ(s.PPTFactor(), 10.0f);
}

TEST(SignalSettings, ValueFromZeroIsStoredAsOneMillionth) {
    TSignalSettings s;
    s.SetValueTo(9.0f);
    s.SetValueFrom(1.0f);
    s.SetValueFrom(0.0f);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(s.ValueFrom()), 0x358637BDu);
    // ValueTo keeps a zero as it is.
    s.SetValueTo(0.0f);
    EXPECT_EQ(s.ValueTo(), 0.0f);
}

TEST(SignalSettings, BoundsEqualToEitherCurrentBoundAreIgnored) {
    TSignalSettings s;
    s.SetValueFrom(5.0f);
    ChangeCounter changes(s);
    s.SetValueTo(5.0f);   // equals ValueFrom
    s.SetValueTo(100.0f); // equals itself
    s.SetValueFrom(100.0f);
    s.SetValueFrom(5.0f);
    EXPECT_EQ(changes.count, 0);
    EXPECT_EQ(s.ValueFrom(), 5.0f);
    EXPECT_EQ(s.ValueTo(), 100.0f);
    s.SetDigitalTo(1000);
    s.SetValueFormat("##0.0");
    EXPECT_EQ(changes.count, 0);
    s.SetDigitalTo(20);
    s.SetName1("Амплитуда");
    EXPECT_EQ(changes.count, 2);
}

TEST(SignalSettings, HundredsDialFactors) {
    TSignalSettings s;
    s.SetDigitalTo(10);
    s.SetValueFrom(TSignalSettings::kZeroValueFrom);
    s.SetValueTo(9.0f);
    EXPECT_EQ(s.ValueSpan(), 9.0f - 0.000001f);
    EXPECT_FLOAT_EQ(s.ValueSpan(), 8.999999f);
    EXPECT_FLOAT_EQ(s.ValuesPerDigit(), 0.8999999f);
    EXPECT_EQ(s.DigitalSpan(), 10);
}

struct SpanRow {
    float from;
    float to;
    float span;
};

class SpanTest : public testing::TestWithParam<SpanRow> {};

TEST_P(SpanTest, SpanFollowsTheSignsOfTheBounds) {
    const SpanRow& row = GetParam();
    TSignalSettings s;
    s.SetValueTo(row.to);
    s.SetValueFrom(row.from);
    s.SetValueTo(row.to);
    EXPECT_FLOAT_EQ(s.ValueSpan(), row.span) << row.from << " .. " << row.to;
}

// A range from a non-negative bound down to a non-positive one has no span;
// the previous one (100 here) stays.
INSTANTIATE_TEST_SUITE_P(Signs, SpanTest,
                         testing::Values(SpanRow{-10.0f, -2.0f, 8.0f}, SpanRow{-5.0f, 5.0f, 10.0f},
                                         SpanRow{2.0f, 10.0f, 8.0f}, SpanRow{5.0f, -1.0f, 100.0f}));

TEST(SignalSettings, DigitSpanOfExtremeBoundsDoesNotOverflow) {
    TSignalSettings s;
    s.SetDigitalFrom(std::numeric_limits<std::int32_t>::min());
    s.SetDigitalTo(std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(s.DigitalSpan(), std::numeric_limits<std::int32_t>::max());
    EXPECT_GT(s.ValuesPerDigit(), 0.0f);
}

TEST(SignalSettings, ValueToPPT) {
    TSignalSettings s;
    s.Changed();
    EXPECT_EQ(s.ValueToPPT(0.0f), 0);
    EXPECT_EQ(s.ValueToPPT(50.0f), 500);
    EXPECT_EQ(s.ValueToPPT(100.0f), 1000);
    EXPECT_EQ(s.ValueToPPT(-10.0f), -100);
    TSignalSettings wide; // one value per part per thousand
    wide.SetValueTo(1000.0f);
    EXPECT_EQ(wide.ValueToPPT(2.5f), 2); // halves to the even neighbour
    EXPECT_EQ(wide.ValueToPPT(3.5f), 4);
}

TEST(SignalSettings, LogarithmicBoundsSnapToPowersOfTen) {
    TSignalSettings s;
    s.SetLogarithmic(true);
    s.SetValueTo(900.0f);
    EXPECT_EQ(s.ValueTo(), 1000.0f);
    s.SetValueFrom(0.02f);
    EXPECT_FLOAT_EQ(s.ValueFrom(), 0.01f);
    s.SetValueFrom(0.0f);
    EXPECT_FLOAT_EQ(s.ValueFrom(), 0.000001f);
}

TEST(SignalSettings, AssignCopiesThroughTheSetters) {
    TSignalSettings source;
    source.SetDigitalTo(100);
    source.SetValueFrom(TSignalSettings::kZeroValueFrom);
    source.SetValueTo(99.0f);
    source.SetValueFormat("00");
    source.SetValueUnit("Гц");
    source.SetName1("a");
    source.SetName2("b");
    TSignalSettings target;
    ChangeCounter changes(target);
    target.Assign(source);
    EXPECT_EQ(target.DigitalTo(), 100);
    EXPECT_EQ(target.ValueFrom(), source.ValueFrom());
    EXPECT_EQ(target.ValueTo(), 99.0f);
    EXPECT_EQ(target.ValueFormat(), "00");
    EXPECT_EQ(target.ValueUnit(), "Гц");
    EXPECT_EQ(target.Name1(), "a");
    EXPECT_EQ(target.Name2(), "b");
    EXPECT_EQ(changes.count, 7);
    EXPECT_FLOAT_EQ(target.ValuesPerDigit(), source.ValuesPerDigit());
}

TEST(SignalSettings, AssignFromAnotherClassIsRefusedAndChangesNothing) {
    TSignalSettings target;
    target.SetDigitalTo(20);
    TSectorSettings other;
    try {
        target.Assign(other);
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "Cannot assign a TSectorSettings to a TSignalSettings");
    }
    EXPECT_EQ(target.DigitalTo(), 20);
}

TEST(SignalSettings, StoredPropertiesInOrderWithTheirDefaults) {
    TSignalSettings s;
    const PropertyList props = s.StoredProperties();
    std::vector<std::string> names;
    for (const auto& p : props.Items())
        names.push_back(p.name);
    EXPECT_EQ(names,
              (std::vector<std::string>{"DigitalFrom", "DigitalTo", "Name1", "Name2", "ValueFormat",
                                        "ValueFrom", "ValueTo", "ValueUnit"}));
    for (const auto& p : props.Items())
        EXPECT_TRUE(p.defaultValue && p.get(s) == *p.defaultValue) << p.name;
}

} // namespace
