// SPDX-License-Identifier: GPL-3.0-or-later
// The analog display control base: PPT, sectors, limits, range overflow,
// minimum and maximum capture, the hint and the settings refresh.

#include "controls/analog/AbAnalogGControl.h"
#include "tests/platform/QtTestApp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A loaded display on the default ranges (1000 digits over 0 .. 100), so
// that a digit is its own PPT.
struct Display {
    TAbAnalogGControl g{nullptr};
    std::vector<std::string> events;

    Display() {
        g.SetLoading(true);
        g.Loaded();
        g.SignalSettings()->Changed();
        g.OnSectorChange.Set([this](TPersistent*, bool s1, bool s2, bool s3, bool enter) {
            events.push_back(std::string("sector ") + (s1 ? "1" : "") + (s2 ? "2" : "") +
                             (s3 ? "3" : "") + (enter ? " in" : " out"));
        });
        g.OnOverflow.Set([this](TPersistent*, std::int32_t ppt) {
            events.push_back("overflow " + std::to_string(ppt));
        });
        g.OnLimit.Set([this](TPersistent*, bool lower, bool upper) {
            events.push_back(std::string("limit") + (lower ? " lower" : "") +
                             (upper ? " upper" : ""));
        });
        g.OnMinMaxChange.Set([this](TPersistent*) { events.push_back("minmax"); });
    }
};

std::vector<std::string> Only(const std::vector<std::string>& events, const std::string& kind) {
    std::vector<std::string> out;
    for (const auto& e : events)
        if (e.rfind(kind, 0) == 0)
            out.push_back(e);
    return out;
}

TEST(AnalogDisplay, StartsHalfWayWithinItsLimits) {
    TAbAnalogGControl g(nullptr);
    EXPECT_EQ(g.Value(), 50.0f);
    EXPECT_EQ(g.Digit(), 500);
    EXPECT_EQ(g.PPT(), 500);
    EXPECT_EQ(g.LimitUpperPPT(), 900);
    EXPECT_EQ(g.LimitLowerPPT(), 100);
    EXPECT_FALSE(g.AboveUpper());
    EXPECT_FALSE(g.BelowLower());
    EXPECT_EQ(g.HintOptions(), kAllHintOptions);
    EXPECT_EQ(g.Font()->Name(), "Arial");
    EXPECT_EQ(g.Font()->Size(), 8);
    EXPECT_EQ(g.focusPolicy(), Qt::NoFocus);
}

TEST(AnalogDisplay, SectorBoundsAndTheOrderOfSectorEvents) {
    Display d;
    d.g.SetDigit(333);
    EXPECT_TRUE(d.g.InSector(1));
    EXPECT_EQ(d.g.SectorColor(), clYellow);
    d.g.SetDigit(334);
    EXPECT_FALSE(d.g.InSector(1));
    EXPECT_TRUE(d.g.InSector(2));
    EXPECT_EQ(d.g.SectorColor(), clGreen);
    d.g.SetDigit(300);
    d.events.clear();
    d.g.SetDigit(400);
    EXPECT_EQ(Only(d.events, "sector"), (std::vector<std::string>{"sector 1 out", "sector 2 in"}));
}

TEST(AnalogDisplay, OutOfRangeIsReportedOnEntryAndOnReturn) {
    Display d;
    d.g.SetDigit(500);
    d.events.clear();
    d.g.SetDigit(-10);
    EXPECT_EQ(d.g.PPT(), 0);
    EXPECT_TRUE(d.g.UnderRange());
    d.g.SetDigit(-20);
    EXPECT_EQ(d.g.PPT(), 0);
    d.g.SetDigit(1200);
    EXPECT_EQ(d.g.PPT(), 1000);
    EXPECT_TRUE(d.g.OverRange());
    d.g.SetDigit(100);
    EXPECT_FALSE(d.g.UnderRange() || d.g.OverRange());
    EXPECT_EQ(Only(d.events, "overflow"),
              (std::vector<std::string>{"overflow -10", "overflow 1200", "overflow 100"}));
}

TEST(AnalogDisplay, LimitsAreReportedWhenCrossed) {
    Display d;
    d.g.SetValue(95.0f);
    d.g.SetValue(96.0f);
    d.g.SetValue(5.0f);
    d.g.SetValue(50.0f);
    EXPECT_EQ(Only(d.events, "limit"),
              (std::vector<std::string>{"limit upper", "limit lower", "limit"}));
    d.g.SetLimitLower(0.0f);
    EXPECT_EQ(d.g.LimitLower(), 0.0001f);
    d.g.SetLimitUpper(40.0f);
    EXPECT_EQ(d.g.LimitUpperPPT(), 400);
    EXPECT_TRUE(d.g.AboveUpper());
}

TEST(AnalogDisplay, FirstValueSetsBothExtremesQuietly) {
    Display d;
    d.g.SetValue(40.0f);
    EXPECT_EQ(d.g.MinMax()->Min(), 40.0f);
    EXPECT_EQ(d.g.MinMax()->Max(), 40.0f);
    EXPECT_TRUE(d.g.MinMax()->MinDateTime().isValid());
    EXPECT_TRUE(d.events.empty() || d.events.back() != "minmax");
    d.events.clear();
    d.g.SetValue(45.0f);
    EXPECT_EQ(d.events, std::vector<std::string>{"minmax"});
    EXPECT_EQ(d.g.MinMax()->Max(), 45.0f);
    EXPECT_EQ(d.g.MaxPPT(), 450);
    d.events.clear();
    d.g.SetValue(42.0f);
    EXPECT_TRUE(d.events.empty());
}

TEST(AnalogDisplay, OneValueChangeReportedPerValue) {
    Display d;
    int changes = 0;
    d.g.OnValueChange.Set([&](TPersistent*) { ++changes; });
    d.g.SetValue(40.0f);
    d.g.SetValue(45.0f); // a new maximum: its refresh reports the value
    d.g.SetValue(45.0f); // unchanged
    EXPECT_EQ(changes, 2);
}

TEST(AnalogDisplay, HintJoinsTheChosenParts) {
    Display d;
    d.g.SetHintOptions(HintOptionBit(hoAutoHint) | HintOptionBit(hoValue) | HintOptionBit(hoName1) |
                       HintOptionBit(hoMin));
    d.g.SetValue(60.0f);
    EXPECT_EQ(d.g.Hint(), "Value= 60.0 %\rMIN= 60.0 %\rSignalName1");
    d.g.SetHintOptions(HintOptionBit(hoValue));
    d.g.SetValue(61.0f);
    EXPECT_EQ(d.g.Hint(), "Value= 60.0 %\rMIN= 60.0 %\rSignalName1") << "no auto hint";
}

TEST(AnalogDisplay, SettingsRefreshTakesTheDigitFromTheValue) {
    Display d;
    int settingsChanges = 0;
    d.g.OnSettingsChange.Set([&](TPersistent*) { ++settingsChanges; });
    d.g.SetValue(50.0f);
    d.g.SignalSettings()->SetDigitalTo(100);
    EXPECT_EQ(d.g.Digit(), 50);
    EXPECT_EQ(settingsChanges, 1);
    d.g.Lock();
    d.g.SignalSettings()->SetDigitalTo(10);
    EXPECT_EQ(settingsChanges, 1) << "held while locked";
    d.g.Unlock();
    d.g.SectorSettings()->SetSector1To(300);
    EXPECT_EQ(settingsChanges, 2);
    EXPECT_EQ(d.g.Digit(), 5);
}

TEST(AnalogDisplay, SectorSettingsAssignCopiesColoursAndBounds) {
    TSectorSettings a;
    a.SetSector1Color(clRed);
    a.SetSector2From(100);
    a.SetSector3To(900);
    TSectorSettings b;
    b.Assign(a);
    EXPECT_EQ(b.Sector1Color(), clRed);
    EXPECT_EQ(b.Sector2From(), 100);
    EXPECT_EQ(b.Sector3To(), 900);
    TMinMax m;
    EXPECT_THROW(b.Assign(m), EConvertError);
}

TEST(AnalogDisplay, StoredPropertiesInOrder) {
    TAbAnalogGControl g(nullptr);
    const PropertyList props = g.StoredProperties();
    std::vector<std::string> own;
    bool seen = false;
    for (const auto& p : props.Items()) {
        seen = seen || p.name == "Digit";
        if (seen)
            own.push_back(p.name);
    }
    EXPECT_EQ(own, (std::vector<std::string>{"Digit", "LimitUpper", "LimitLower", "HintOptions",
                                             "SectorSettings", "SignalSettings", "MinMax", "Value",
                                             "OnMinMaxChange", "OnOverflow", "OnSectorChange",
                                             "OnSettingsChange", "OnValueChange", "OnLimit"}));
}

TEST(AnalogDisplay, TakesItsOwnerAsParent) {
    class TWidgetOwner : public QWidget, public TComponent {
    public:
        TWidgetOwner() : TComponent(nullptr) {}
    } owner;
    auto* g = new TAbAnalogGControl(&owner);
    EXPECT_EQ(g->parentWidget(), &owner);
    EXPECT_FALSE(g->autoFillBackground()) << "drawn on the parent's surface";
}

} // namespace
