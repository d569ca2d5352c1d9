// SPDX-License-Identifier: GPL-3.0-or-later
// Stored properties, change notification and copying of the offset,
// gradient and bevel settings.

#include "controls/paint/AbBtnBevel.h"
#include "controls/paint/AbGradSettings.h"
#include "controls/paint/AbOffset.h"
#include "controls/paint/AbSBevel.h"
#include "core/Persistent.h"
#include "tests/platform/QtTestApp.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Names(TPersistent& object) {
    std::vector<std::string> names;
    const PropertyList props = object.StoredProperties();
    for (const auto& p : props.Items())
        names.push_back(p.name);
    return names;
}

// Every declared default equals the value a new object has, so a new object
// stores nothing.
void ExpectDefaultsMatch(TPersistent& object) {
    const PropertyList props = object.StoredProperties();
    for (const auto& p : props.Items()) {
        if (p.kind == PropertyKind::Object) {
            ExpectDefaultsMatch(*p.object(object));
            continue;
        }
        ASSERT_TRUE(p.defaultValue.has_value()) << p.name;
        EXPECT_EQ(p.get(object), *p.defaultValue) << object.ClassName() << "." << p.name;
    }
}

struct ClassCase {
    const char* name;
    std::function<std::unique_ptr<TAbPersistent>()> make;
    std::vector<std::string> properties;
};

class SettingsClassTest : public ::testing::TestWithParam<ClassCase> {};

TEST_P(SettingsClassTest, DeclaresItsPropertiesInOrderWithTheirDefaults) {
    auto object = GetParam().make();
    EXPECT_EQ(object->ClassName(), GetParam().name);
    EXPECT_EQ(Names(*object), GetParam().properties);
    ExpectDefaultsMatch(*object);
}

// Copying from another class throws, names both classes, leaves every
// property as it was and reports no change.
TEST_P(SettingsClassTest, RefusesAnotherClassAndStaysUnchanged) {
    auto target = GetParam().make();
    // Move every integer property off its default so a partial copy shows.
    const PropertyList props = target->StoredProperties();
    for (const auto& p : props.Items())
        if (p.kind == PropertyKind::Integer)
            p.set(*target, std::int64_t(7));
    std::vector<PropertyValue> values;
    for (const auto& p : props.Items())
        if (p.kind != PropertyKind::Object)
            values.push_back(p.get(*target));

    int changes = 0;
    target->SetOnChange([&](TPersistent*) { ++changes; });
    TAbPersistent stranger;
    try {
        target->Assign(stranger);
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot assign a TAbPersistent to a " + std::string(GetParam().name));
    }
    std::size_t i = 0;
    for (const auto& p : props.Items()) {
        if (p.kind == PropertyKind::Object)
            continue;
        EXPECT_EQ(p.get(*target), values[i++]) << p.name;
    }
    EXPECT_EQ(changes, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Classes, SettingsClassTest,
    ::testing::Values(ClassCase{"TAbOffset",
                                [] { return std::make_unique<TAbOffset>(); },
                                {"Top", "Left", "Right", "Bottom"}},
                      ClassCase{"TAbGradSettings",
                                [] { return std::make_unique<TAbGradSettings>(); },
                                {"ColorFrom", "ColorTo", "Visible", "Style"}},
                      ClassCase{"TAbBtnBevel",
                                [] { return std::make_unique<TAbBtnBevel>(); },
                                {"ShadowColFrom", "ShadowColTo", "HighlightColFrom",
                                 "HighlightColTo", "Width"}},
                      ClassCase{"TAbSBevel",
                                [] { return std::make_unique<TAbSBevel>(); },
                                {"Offset", "Style", "Spacing", "BevelLine", "Width", "Color",
                                 "ColorShadowFrom", "ColorShadowTo", "ColorHighLightFrom",
                                 "ColorHighLightTo", "PenColor", "SurfaceGrad"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsClass, ConcreteDefaults) {
    TAbGradSettings grad;
    EXPECT_EQ(grad.ColorFrom(), 14869218u);
    EXPECT_EQ(grad.ColorTo(), 9408399u);
    EXPECT_EQ(grad.Style(), gsHorizontal1);
    EXPECT_FALSE(grad.Visible());
    TAbBtnBevel btn;
    EXPECT_EQ(btn.HighlightColFrom(), 13816530u);
    EXPECT_EQ(btn.ShadowColTo(), clBtnShadow);
    EXPECT_EQ(btn.Width(), 2);
    TAbSBevel round;
    EXPECT_EQ(round.Style(), bsRaised);
    EXPECT_EQ(round.Spacing(), 5);
    EXPECT_EQ(round.Color(), clBtnFace);
    EXPECT_EQ(round.PenColor(), clBlack);
    EXPECT_FALSE(round.Circular());
}

// ---- Setters: a change is reported once, an unchanged value not at all ----

struct SetterCase {
    const char* name;
    std::function<std::unique_ptr<TAbPersistent>()> make;
    std::function<void(TAbPersistent&)> set; // sets a value different from the default
};

class SetterTest : public ::testing::TestWithParam<SetterCase> {};

TEST_P(SetterTest, ReportsEachRealChangeOnce) {
    auto object = GetParam().make();
    int changes = 0;
    object->SetOnChange([&](TPersistent* sender) {
        EXPECT_EQ(sender, object.get());
        ++changes;
    });
    GetParam().set(*object);
    EXPECT_EQ(changes, 1);
    GetParam().set(*object);
    EXPECT_EQ(changes, 1);
}

template <class T> std::function<std::unique_ptr<TAbPersistent>()> Make() {
    return [] { return std::make_unique<T>(); };
}
template <class T> std::function<void(TAbPersistent&)> Set(std::function<void(T&)> f) {
    return [f](TAbPersistent& o) { f(static_cast<T&>(o)); };
}

INSTANTIATE_TEST_SUITE_P(
    Setters, SetterTest,
    ::testing::Values(SetterCase{"OffsetTop", Make<TAbOffset>(),
                                 Set<TAbOffset>([](auto& o) { o.SetTop(3); })},
                      SetterCase{"OffsetBottom", Make<TAbOffset>(),
                                 Set<TAbOffset>([](auto& o) { o.SetBottom(-2); })},
                      SetterCase{"GradStyle", Make<TAbGradSettings>(),
                                 Set<TAbGradSettings>([](auto& o) { o.SetStyle(gsTopRight); })},
                      SetterCase{"GradVisible", Make<TAbGradSettings>(),
                                 Set<TAbGradSettings>([](auto& o) { o.SetVisible(true); })},
                      SetterCase{"BtnWidth", Make<TAbBtnBevel>(),
                                 Set<TAbBtnBevel>([](auto& o) { o.SetWidth(4); })},
                      SetterCase{"BtnShadow", Make<TAbBtnBevel>(),
                                 Set<TAbBtnBevel>([](auto& o) { o.SetShadowColFrom(0x191919); })},
                      SetterCase{"RoundLine", Make<TAbSBevel>(),
                                 Set<TAbSBevel>([](auto& o) { o.SetBevelLine(blBoth); })},
                      SetterCase{"RoundPen", Make<TAbSBevel>(),
                                 Set<TAbSBevel>([](auto& o) { o.SetPenColor(clBtnShadow); })},
                      // Changes inside the owned objects reach the bevel's own notification.
                      SetterCase{"RoundOffset", Make<TAbSBevel>(),
                                 Set<TAbSBevel>([](auto& o) { o.Offset()->SetRight(15); })},
                      SetterCase{"RoundSurface", Make<TAbSBevel>(), Set<TAbSBevel>([](auto& o) {
                                     o.SurfaceGrad()->SetVisible(true);
                                 })}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Setters, NegativeWidthsAndUnknownMembersAreIgnored) {
    TAbBtnBevel btn;
    TAbSBevel round;
    TAbGradSettings grad;
    int changes = 0;
    const auto count = [&](TPersistent*) { ++changes; };
    btn.SetOnChange(count);
    round.SetOnChange(count);
    grad.SetOnChange(count);
    btn.SetWidth(-1);
    round.SetWidth(-5);
    grad.SetStyle(TGradientStyle(GradientStyleCount));
    round.SetBevelLine(TBevelLine(9));
    round.SetStyle(TBevelStyle(-1));
    EXPECT_EQ(btn.Width(), 2);
    EXPECT_EQ(round.Width(), 2);
    EXPECT_EQ(grad.Style(), gsHorizontal1);
    EXPECT_EQ(round.BevelLine(), blNone);
    EXPECT_EQ(round.Style(), bsRaised);
    EXPECT_EQ(changes, 0);
}

// ---- Copying ----

TEST(Assign, OffsetCopiesTheFourValuesAndReportsOnce) {
    TAbOffset source, target;
    source.SetTop(1);
    source.SetLeft(2);
    source.SetRight(3);
    source.SetBottom(4);
    int changes = 0;
    target.SetOnChange([&](TPersistent*) { ++changes; });
    target.Assign(source);
    EXPECT_EQ(target.Apply({0, 0, 100, 100}), (TRect{2, 1, 97, 96}));
    EXPECT_EQ(changes, 1);
}

TEST(Assign, GradientGoesThroughTheSettersThenReportsOnceMore) {
    TAbGradSettings source, target;
    source.SetColorFrom(0x404040);
    source.SetStyle(gsTopRight);
    int changes = 0;
    target.SetOnChange([&](TPersistent*) { ++changes; });
    target.Assign(source);
    EXPECT_EQ(target.ColorFrom(), 0x404040u);
    EXPECT_EQ(target.ColorTo(), TAbGradSettings::DefaultColorTo);
    EXPECT_EQ(target.Style(), gsTopRight);
    EXPECT_EQ(changes, 3); // two differing setters, then the copy itself
}

TEST(Assign, ButtonBevelCopiesColoursAndWidth) {
    TAbBtnBevel source, target;
    source.SetShadowColFrom(0x191919);
    source.SetShadowColTo(0x282828);
    source.SetHighlightColFrom(0x626262);
    source.SetHighlightColTo(0x555555);
    source.SetWidth(4);
    target.Assign(source);
    EXPECT_EQ(target.ShadowColFrom(), 0x191919u);
    EXPECT_EQ(target.ShadowColTo(), 0x282828u);
    EXPECT_EQ(target.HighlightColFrom(), 0x626262u);
    EXPECT_EQ(target.HighlightColTo(), 0x555555u);
    EXPECT_EQ(target.Width(), 4);
}

TEST(Assign, RoundBevelCopiesEverythingButCircular) {
    TAbSBevel source, target;
    source.SetCircular(true);
    source.SetStyle(bsLowered);
    source.SetSpacing(1);
    source.SetBevelLine(blBoth);
    source.SetWidth(3);
    source.SetColor(clRed);
    source.SetColorShadowFrom(0x010101);
    source.SetColorShadowTo(0x020202);
    source.SetColorHighLightFrom(0x030303);
    source.SetColorHighLightTo(0x040404);
    source.SetPenColor(0x050505);
    source.Offset()->SetRight(15);
    source.SurfaceGrad()->SetVisible(true);
    target.Assign(source);
    EXPECT_FALSE(target.Circular());
    EXPECT_EQ(target.RingBitmap(), nullptr);
    EXPECT_EQ(target.Style(), bsLowered);
    EXPECT_EQ(target.Spacing(), 1);
    EXPECT_EQ(target.BevelLine(), blBoth);
    EXPECT_EQ(target.Width(), 3);
    EXPECT_EQ(target.Color(), clRed);
    EXPECT_EQ(target.ColorShadowFrom(), 0x010101u);
    EXPECT_EQ(target.ColorShadowTo(), 0x020202u);
    EXPECT_EQ(target.ColorHighLightFrom(), 0x030303u);
    EXPECT_EQ(target.ColorHighLightTo(), 0x040404u);
    EXPECT_EQ(target.PenColor(), 0x050505u);
    EXPECT_EQ(target.Offset()->Right(), 15);
    EXPECT_TRUE(target.SurfaceGrad()->Visible());
    EXPECT_EQ(target.Depth(), 3 + 1 + 2);
    // The owned objects are the target's own, still relaying to it.
    int changes = 0;
    target.SetOnChange([&](TPersistent*) { ++changes; });
    target.Offset()->SetTop(1);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(source.Offset()->Top(), 0);
}

TEST(Assign, RoundBevelRefusesAButtonBevel) {
    TAbSBevel target;
    TAbBtnBevel source;
    EXPECT_THROW(target.Assign(source), EConvertError);
    TAbOffset offset;
    EXPECT_THROW(offset.Assign(target), EConvertError);
}

} // namespace
