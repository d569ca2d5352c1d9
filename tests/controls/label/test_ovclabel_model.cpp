// SPDX-License-Identifier: GPL-3.0-or-later
// The caption label's effect settings, colour schemes and the notice rules
// that switch its presets to apCustom / csCustom.

#include "controls/label/OvcLabelModel.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Records what the model asks of its control.
class FakeHost : public TOvcLabelHost {
public:
    TColor LabelFontColor() const override { return fontColor; }
    void SetLabelFontColor(TColor color) override {
        if (throwOnFontColor)
            throw std::runtime_error("font refused");
        fontColor = color;
        calls.push_back("font");
    }
    bool LabelLoading() const override { return loading; }
    void LabelRepaint() override { calls.push_back("repaint"); }
    void LabelTextChanged() override { calls.push_back("text"); }
    void LabelColorChanged() override { calls.push_back("color"); }

    TColor fontColor = clGray;
    bool loading = false;
    bool throwOnFontColor = false;
    std::vector<std::string> calls;
};

struct NoticeLog {
    explicit NoticeLog(TOvcCustomSettings& s) {
        s.SetOnColourNotice([this](TPersistent*) { notices.push_back("colour"); });
        s.SetOnStyleNotice([this](TPersistent*) { notices.push_back("style"); });
    }
    std::vector<std::string> notices;
};

using Strings = std::vector<std::string>;

TEST(OvcCustomSettings, StoredPropertiesInOrderWithTheirDefaults) {
    TOvcCustomSettings s;
    const PropertyList props = s.StoredProperties();
    Strings names;
    for (const auto& p : props.Items()) {
        names.push_back(p.name);
        ASSERT_TRUE(p.defaultValue.has_value()) << p.name;
        EXPECT_EQ(p.get(s), *p.defaultValue) << p.name << " differs from its declared default";
    }
    EXPECT_EQ(names, (Strings{"GraduateFromColor", "GraduateStyle", "HighlightColor",
                              "HighlightDepth", "HighlightDirection", "HighlightStyle",
                              "ShadowColor", "ShadowDepth", "ShadowDirection", "ShadowStyle"}));
    EXPECT_EQ(props.Find("ShadowDepth")->maxValue, 255);
    EXPECT_EQ(props.Find("ShadowDirection")->members.at(sdUpLeft), "sdUpLeft");
}

struct SetterCase {
    const char* name;
    std::function<void(TOvcCustomSettings&)> change;
    const char* notice;
};

class OvcSettingsNotice : public ::testing::TestWithParam<SetterCase> {};

TEST_P(OvcSettingsNotice, ChangeRaisesItsNoticeOnceAndRepeatRaisesNothing) {
    TOvcCustomSettings s;
    NoticeLog log(s);
    GetParam().change(s);
    EXPECT_EQ(log.notices, Strings{GetParam().notice});
    GetParam().change(s);
    EXPECT_EQ(log.notices, Strings{GetParam().notice}) << "an unchanged value raised a notice";
}

INSTANTIATE_TEST_SUITE_P(
    EachSetter, OvcSettingsNotice,
    ::testing::Values(
        SetterCase{"GraduateFromColor", [](auto& s) { s.SetGraduateFromColor(clRed); }, "colour"},
        SetterCase{"GraduateStyle", [](auto& s) { s.SetGraduateStyle(gsVertical); }, "style"},
        SetterCase{"HighlightColor", [](auto& s) { s.SetHighlightColor(clRed); }, "colour"},
        SetterCase{"HighlightDepth", [](auto& s) { s.SetHighlightDepth(3); }, "style"},
        SetterCase{"HighlightDirection", [](auto& s) { s.SetHighlightDirection(sdUp); }, "style"},
        SetterCase{"HighlightStyle", [](auto& s) { s.SetHighlightStyle(ssExtrude); }, "style"},
        SetterCase{"ShadowColor", [](auto& s) { s.SetShadowColor(clRed); }, "colour"},
        SetterCase{"ShadowDepth", [](auto& s) { s.SetShadowDepth(4); }, "style"},
        SetterCase{"ShadowDirection", [](auto& s) { s.SetShadowDirection(sdLeft); }, "style"},
        SetterCase{"ShadowStyle", [](auto& s) { s.SetShadowStyle(ssGraduated); }, "style"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OvcCustomSettings, HeldNoticesAreDroppedAndReleaseRaisesBothInOrder) {
    TOvcCustomSettings s;
    NoticeLog log(s);
    s.HoldNotices();
    s.SetShadowColor(clRed);
    s.SetShadowDepth(3);
    EXPECT_TRUE(log.notices.empty());
    s.ReleaseNotices();
    EXPECT_EQ(log.notices, (Strings{"colour", "style"}));
    EXPECT_FALSE(s.NoticesHeld());

    // Release raises both even when nothing changed.
    log.notices.clear();
    s.HoldNotices();
    s.ReleaseNotices();
    EXPECT_EQ(log.notices, (Strings{"colour", "style"}));
}

TEST(OvcCustomSettings, AssignCopiesEveryValueSilently) {
    TOvcCustomSettings from;
    from.SetGraduateFromColor(clRed);
    from.SetGraduateStyle(gsHorizontal);
    from.SetHighlightColor(clYellow);
    from.SetHighlightDepth(7);
    from.SetHighlightDirection(sdRight);
    from.SetHighlightStyle(ssExtrude);
    from.SetShadowColor(clNavy);
    from.SetShadowDepth(9);
    from.SetShadowDirection(sdDownLeft);
    from.SetShadowStyle(ssGraduated);

    TOvcCustomSettings to;
    NoticeLog log(to);
    to.Assign(from);
    EXPECT_TRUE(log.notices.empty());
    const PropertyList props = from.StoredProperties();
    for (const auto& p : props.Items())
        EXPECT_EQ(p.get(to), p.get(from)) << p.name;
}

TEST(OvcCustomSettings, AssignFromAnotherClassFailsAndLeavesTargetAlone) {
    TOvcCustomSettings to;
    to.SetShadowDepth(6);
    TPersistent other;
    try {
        to.Assign(other);
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "Cannot assign a TPersistent to a TOvcCustomSettings");
    }
    EXPECT_EQ(to.ShadowDepth(), 6);
}

TEST(OvcSchemeColours, TableAtConstruction) {
    TOvcSchemeColours t;
    const std::vector<TOvcSchemeRow> expected{
        {0xFFFFFF, 0x000000, 0x808080}, {0xFFFFFF, 0x808080, 0x000000},
        {0xFFFFFF, 0x000000, 0x808080}, {0xFFFFFF, 0x000000, 0xC0C0C0},
        {0x00FFFF, 0x000000, 0x008080}, {0xFFFF00, 0x800000, 0x808000}};
    for (int i = 0; i < kOvcSchemeCount; ++i)
        EXPECT_EQ(t.Row(TOvcColorScheme(i)), expected[i]) << OvcColorSchemeNames()[i];
}

class OvcModel : public ::testing::Test {
protected:
    FakeHost host;
    TOvcLabelModel model{host};
    TOvcCustomSettings& s = *model.CustomSettings();
};

TEST_F(OvcModel, ConstructionDefaults) {
    EXPECT_EQ(model.Appearance(), apRaised);
    EXPECT_EQ(model.ColorScheme(), csWindows);
    EXPECT_EQ(s.HighlightColor(), clWhite);
    EXPECT_EQ(s.ShadowColor(), clBlack);
    EXPECT_EQ(s.HighlightDirection(), sdUpLeft);
    EXPECT_EQ(s.ShadowDirection(), sdDownRight);
    EXPECT_FALSE(model.AppearanceChanging());
    EXPECT_FALSE(model.SchemeChanging());
    EXPECT_TRUE(host.calls.empty());
}

struct AppearanceCase {
    TOvcAppearance appearance;
    TOvcShadeDirection highlightDirection, shadowDirection;
    int highlightDepth, shadowDepth;
};

class OvcAppearancePreset : public ::testing::TestWithParam<AppearanceCase> {};

TEST_P(OvcAppearancePreset, SetsDirectionsAndDepthsAndLeavesSchemeCustom) {
    const AppearanceCase& c = GetParam();
    FakeHost host;
    TOvcLabelModel model(host);
    TOvcCustomSettings& s = *model.CustomSettings();
    // Start, silently, from a state the preset must overwrite (or, for
    // apCustom, keep), with the scheme still csWindows.
    TOvcCustomSettings start;
    start.SetHighlightDirection(sdLeft);
    start.SetShadowDirection(sdUp);
    start.SetHighlightDepth(9);
    start.SetShadowDepth(8);
    start.SetShadowStyle(ssExtrude);
    start.SetShadowColor(clRed);
    host.loading = true;
    model.SetAppearance(c.appearance == apNone ? apShadow : apNone);
    s.Assign(start);
    host.loading = false;
    host.calls.clear();
    ASSERT_EQ(model.ColorScheme(), csWindows);

    model.SetAppearance(c.appearance);
    EXPECT_EQ(model.Appearance(), c.appearance);
    EXPECT_EQ(s.HighlightDirection(), c.highlightDirection);
    EXPECT_EQ(s.ShadowDirection(), c.shadowDirection);
    EXPECT_EQ(s.HighlightDepth(), c.highlightDepth);
    EXPECT_EQ(s.ShadowDepth(), c.shadowDepth);
    // Not touched by an appearance.
    EXPECT_EQ(s.ShadowStyle(), ssExtrude);
    EXPECT_EQ(s.ShadowColor(), clRed);
    // Releasing the hold raised the colour notice, which is not this change's
    // own kind: the scheme becomes csCustom.
    EXPECT_EQ(model.ColorScheme(), csCustom);
    EXPECT_EQ(host.calls, (Strings{"repaint", "color", "repaint", "text"}));
    EXPECT_FALSE(model.AppearanceChanging());
    EXPECT_FALSE(s.NoticesHeld());
}

INSTANTIATE_TEST_SUITE_P(EachAppearance, OvcAppearancePreset,
                         ::testing::Values(AppearanceCase{apNone, sdNone, sdNone, 0, 0},
                                           AppearanceCase{apCustom, sdLeft, sdUp, 9, 8},
                                           AppearanceCase{apFlying, sdDownRight, sdDownRight, 1, 5},
                                           AppearanceCase{apRaised, sdUpLeft, sdDownRight, 1, 1},
                                           AppearanceCase{apSunken, sdDownRight, sdUpLeft, 1, 1},
                                           AppearanceCase{apShadow, sdNone, sdDownRight, 0, 2}),
                         [](const auto& info) {
                             return OvcAppearanceNames()[info.param.appearance];
                         });

TEST_F(OvcModel, AppearanceTakesHighlightFromTheSchemeAndFlyingTakesTheShadowColour) {
    model.SetColorScheme(csSteel);
    s.SetHighlightColor(clRed);
    model.SetAppearance(apFlying);
    EXPECT_EQ(s.HighlightColor(), clNavy); // steel's shadow colour
    model.SetAppearance(apSunken);
    // The scheme is now csCustom, whose row is steel's.
    EXPECT_EQ(s.HighlightColor(), clAqua);
}

TEST_F(OvcModel, SameAppearanceOrSchemeDoesNothing) {
    model.SetAppearance(apRaised);
    model.SetColorScheme(csWindows);
    EXPECT_TRUE(host.calls.empty());
    EXPECT_EQ(model.ColorScheme(), csWindows);
}

TEST_F(OvcModel, SchemeSetsColoursAndLeavesAppearanceCustom) {
    model.SetColorScheme(csGold);
    EXPECT_EQ(model.ColorScheme(), csGold);
    EXPECT_EQ(s.HighlightColor(), clYellow);
    EXPECT_EQ(s.ShadowColor(), clBlack);
    EXPECT_EQ(host.fontColor, clOlive);
    EXPECT_EQ(model.Appearance(), apCustom);
    EXPECT_EQ(s.HighlightDirection(), sdUpLeft);
    EXPECT_EQ(s.ShadowDepth(), 1);
    EXPECT_EQ(host.calls, (Strings{"font", "repaint", "repaint", "text", "text"}));
    EXPECT_EQ(model.SchemeColours().Row(csCustom), model.SchemeColours().Row(csGold));
}

TEST_F(OvcModel, GoldThenCustomKeepsTheGoldColours) {
    model.SetColorScheme(csGold);
    model.SetColorScheme(csCustom);
    EXPECT_EQ(model.ColorScheme(), csCustom);
    EXPECT_EQ(s.HighlightColor(), clYellow);
    EXPECT_EQ(s.ShadowColor(), clBlack);
    EXPECT_EQ(host.fontColor, clOlive);
}

struct EditCase {
    const char* name;
    std::function<void(TOvcCustomSettings&)> edit;
    TOvcAppearance appearance;
    TOvcColorScheme scheme;
};

class OvcDirectEdit : public ::testing::TestWithParam<EditCase> {};

TEST_P(OvcDirectEdit, SwitchesOnlyItsOwnPresetToCustom) {
    FakeHost host;
    TOvcLabelModel model(host);
    GetParam().edit(*model.CustomSettings());
    EXPECT_EQ(model.Appearance(), GetParam().appearance);
    EXPECT_EQ(model.ColorScheme(), GetParam().scheme);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, OvcDirectEdit,
    ::testing::Values(
        EditCase{"ShadowDepth", [](auto& s) { s.SetShadowDepth(3); }, apCustom, csWindows},
        EditCase{"GraduateStyle", [](auto& s) { s.SetGraduateStyle(gsVertical); }, apCustom,
                 csWindows},
        EditCase{"ShadowColor", [](auto& s) { s.SetShadowColor(clRed); }, apRaised, csCustom},
        EditCase{"GraduateFromColor", [](auto& s) { s.SetGraduateFromColor(clRed); }, apRaised,
                 csCustom},
        EditCase{"SameValue", [](auto& s) { s.SetShadowDepth(1); }, apRaised, csWindows},
        EditCase{"HoldRelease",
                 [](auto& s) {
                     s.HoldNotices();
                     s.ReleaseNotices();
                 },
                 apCustom, csCustom}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(OvcModel, EditsWhileLoadingKeepTheStoredPresets) {
    host.loading = true;
    model.SetAppearance(apSunken);
    model.SetColorScheme(csSteel);
    s.SetShadowDepth(4);
    s.SetShadowColor(clRed);
    EXPECT_EQ(model.Appearance(), apSunken);
    EXPECT_EQ(model.ColorScheme(), csSteel);
    EXPECT_EQ(host.calls, (Strings{"text", "font", "text"}));
}

TEST_F(OvcModel, FailedSchemeChangeStillReleasesTheHoldAndClearsTheFlag) {
    host.throwOnFontColor = true;
    EXPECT_THROW(model.SetColorScheme(csGold), std::runtime_error);
    EXPECT_FALSE(s.NoticesHeld());
    EXPECT_FALSE(model.SchemeChanging());
    // The release raised the notices while the scheme change was under way,
    // so only the appearance went custom.
    EXPECT_EQ(model.Appearance(), apCustom);
    // Later edits are heard again.
    s.SetShadowColor(clRed);
    EXPECT_EQ(model.ColorScheme(), csCustom);
}

} // namespace
