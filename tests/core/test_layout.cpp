// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestComponents.h"
#include "core/Layout.h"

#include <bit>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

class LayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestClasses();
        EventLog().clear();
    }
};

TTestWidget* Widget(TComponent& form, const std::string& name) {
    return dynamic_cast<TTestWidget*>(form.FindComponent(name));
}

TEST_F(LayoutTest, WriteThenReadGivesTheSameValues) {
    TTestForm form(nullptr);
    form.SetName("Form1");
    auto* w = new TTestWidget(&form);
    w->SetName("Knob");
    w->SetCount(-123456);
    w->SetSmall(-32768);
    w->SetLevel(-0.0f);
    w->SetGain(std::bit_cast<float>(0x358637BDu)); // 0.000001 as float32
    w->SetActive(false);
    w->SetCaption("Генератор \"сигналов\"\tзвуковой\\частоты\r\n\a");
    w->SetMode(tmBlink);
    w->SetKeys(0b101);
    w->SetColor(0x00282828);
    w->Settings()->SetLow(3);
    w->Settings()->SetScale(std::numeric_limits<float>::denorm_min());
    w->Blob() = {0x00, 0xFF, 0x7F, 0x80};
    auto* nan = new TTestWidget(&form);
    nan->SetName("Odd");
    nan->SetGain(std::bit_cast<float>(0x7FC12345u));
    nan->SetLevel(-std::numeric_limits<float>::infinity());
    nan->SetColor(clBtnShadow);

    const std::string text = WriteLayout(form);
    // Line ends by letter, other control characters by their code.
    EXPECT_NE(text.find("\\r\\n\\x07\""), std::string::npos) << text;

    TTestForm copy(nullptr);
    ReadLayoutInto(copy, text);
    ASSERT_EQ(copy.ComponentCount(), 2);
    TTestWidget* r = Widget(copy, "Knob");
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(copy.Name(), "Form1");
    EXPECT_EQ(r->Count(), -123456);
    EXPECT_EQ(r->Small(), -32768);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(r->Level()), 0x80000000u);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(r->Gain()), 0x358637BDu);
    EXPECT_FALSE(r->Active());
    EXPECT_EQ(r->Caption(), w->Caption());
    EXPECT_EQ(r->Mode(), tmBlink);
    EXPECT_EQ(r->Keys(), 0b101u);
    EXPECT_EQ(r->Color(), 0x00282828u);
    EXPECT_EQ(r->Settings()->Low(), 3);
    EXPECT_EQ(r->Settings()->Scale(), std::numeric_limits<float>::denorm_min());
    EXPECT_EQ(r->Blob(), (std::vector<std::uint8_t>{0x00, 0xFF, 0x7F, 0x80}));
    TTestWidget* o = Widget(copy, "Odd");
    ASSERT_NE(o, nullptr);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(o->Gain()), 0x7FC12345u);
    EXPECT_EQ(o->Level(), -std::numeric_limits<float>::infinity());
    EXPECT_EQ(o->Color(), clBtnShadow);
    // Writing the copy gives the same text: nothing was lost on the way.
    EXPECT_EQ(WriteLayout(copy), text);
}

TEST_F(LayoutTest, DefaultsAreOmittedAndPropertiesWithoutDefaultAlwaysWritten) {
    TTestForm form(nullptr);
    form.SetName("F");
    auto* w = new TTestWidget(&form);
    w->SetName("W");
    w->Blob().clear();
    const std::string text = WriteLayout(form);
    EXPECT_EQ(text, "F: TTestForm {\n"
                    "  W: TTestWidget {\n"
                    "    Gain = 1.0\n"
                    "    Blob = bytes {\n"
                    "      00\n"
                    "    }\n"
                    "  }\n"
                    "}\n");
    w->SetCount(8);
    w->SetKeys(0);
    w->SetColor(clLime);
    w->Settings()->SetScale(20.0f);
    const std::string changed = WriteLayout(form);
    EXPECT_NE(changed.find("    Count = 8\n"), std::string::npos);
    EXPECT_NE(changed.find("    Keys = []\n"), std::string::npos);
    EXPECT_NE(changed.find("    Color = 0x0000FF00\n"), std::string::npos);
    EXPECT_NE(changed.find("    Settings.Scale = 20.0\n"), std::string::npos);
    // Declaration order: Count before Gain before Keys before Color before Settings.
    EXPECT_LT(changed.find("Count"), changed.find("Gain"));
    EXPECT_LT(changed.find("Keys"), changed.find("Color"));
    EXPECT_LT(changed.find("Color"), changed.find("Settings.Scale"));
    EXPECT_LT(changed.find("Settings.Scale"), changed.find("Blob"));
}

TEST_F(LayoutTest, PropertiesAreAppliedInTheOrderWrittenAndLoadedComesLast) {
    TTestForm form(nullptr);
    ReadLayoutInto(form, R"(# two widgets, properties deliberately out of declaration order
Form1: TTestForm {
  A: TTestWidget {
    Mode = tmOn
    Count = 5          # a comment after a value
    Settings.Low = 2
    Blob = bytes { 01 2A }
  }
  B: TTestWidget {
    Small = 0x10
    Count = -1
  }
}
)");
    const std::vector<std::string> expected = {"A.Mode=1 (loading)",
                                               "A.Count=5 (loading)",
                                               "Settings.Low=2",
                                               "A.Blob",
                                               "B.Small=16 (loading)",
                                               "B.Count=-1 (loading)",
                                               "Form1.Loaded",
                                               "A.Loaded",
                                               "B.Loaded"};
    EXPECT_EQ(EventLog(), expected);
    EXPECT_FALSE(form.IsLoading());
    EXPECT_FALSE(Widget(form, "A")->IsLoading());
    EXPECT_EQ(Widget(form, "A")->Blob(), (std::vector<std::uint8_t>{0x2A}));
    EXPECT_EQ(Widget(form, "A")->Owner(), &form);
}

TEST_F(LayoutTest, NestedBlocksSetTheParentAndAreWrittenNested) {
    TTestForm form(nullptr);
    ReadLayoutInto(form, "F: TTestForm {\n"
                         "  Panel: TTestWidget {\n"
                         "    Inner: TTestWidget {\n"
                         "      Gain = 2.0\n"
                         "    }\n"
                         "  }\n"
                         "}\n");
    TTestWidget* panel = Widget(form, "Panel");
    TTestWidget* inner = Widget(form, "Inner");
    ASSERT_TRUE(panel && inner);
    EXPECT_EQ(inner->Owner(), &form);           // the form owns everything...
    EXPECT_EQ(inner->ParentComponent(), panel); // ...the block nesting is the parent
    const std::string text = WriteLayout(form);
    EXPECT_NE(text.find("  Panel: TTestWidget {\n    Gain = 1.0\n"), std::string::npos);
    EXPECT_NE(text.find("    Inner: TTestWidget {\n      Gain = 2.0\n"), std::string::npos);
}

TEST_F(LayoutTest, EventPropertiesBindToTheFormsHandlers) {
    TTestForm form(nullptr);
    int clicks = 0;
    TPersistent* sender = nullptr;
    form.RegisterMethod("Button1Click", TNotifyEvent([&](TPersistent* s) {
                            ++clicks;
                            sender = s;
                        }));
    ReadLayoutInto(form,
                   "F: TTestForm {\n  B: TTestWidget {\n    OnClick = Button1Click\n  }\n}\n");
    Widget(form, "B")->Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(sender, Widget(form, "B"));
    EXPECT_NE(WriteLayout(form).find("OnClick = Button1Click"), std::string::npos);
}

TEST_F(LayoutTest, ReadLayoutCreatesTheTopComponentThroughTheRegistry) {
    auto root = ReadLayout("Top: TTestForm {\n  W: TTestWidget {\n  }\n}\n");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->ClassName(), "TTestForm");
    EXPECT_EQ(root->ComponentCount(), 1);
}

struct BadLayout {
    const char* what;
    const char* text;
    int line;
    const char* property;
    const char* message;
};

class BadLayoutTest : public LayoutTest, public ::testing::WithParamInterface<BadLayout> {};

TEST_P(BadLayoutTest, IsRejectedWithItsLineAndPropertyAndLeavesNothingBehind) {
    const BadLayout& bad = GetParam();
    TTestForm form(nullptr);
    try {
        ReadLayoutInto(form, bad.text);
        FAIL() << bad.what << " was accepted";
    } catch (const LayoutError& e) {
        EXPECT_EQ(e.Line(), bad.line) << e.what();
        EXPECT_EQ(e.Property(), bad.property) << e.what();
        EXPECT_NE(e.Message().find(bad.message), std::string::npos) << e.what();
    }
    EXPECT_EQ(form.ComponentCount(), 0);
    EXPECT_FALSE(form.IsLoading());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadLayoutTest,
    ::testing::Values(
        BadLayout{"unknown class", "F: TTestForm {\n  X: TNoSuchThing {\n  }\n}\n", 2, "",
                  "unknown class 'TNoSuchThing'"},
        BadLayout{"wrong top class", "F: TTestWidget {\n}\n", 1, "", "expected TTestForm"},
        BadLayout{"unknown property", "F: TTestForm {\n W: TTestWidget {\n  Colour = 1\n }\n}\n", 3,
                  "Colour", "unknown property"},
        BadLayout{"unknown nested property",
                  "F: TTestForm {\n W: TTestWidget {\n  Settings.High = 1\n }\n}\n", 3,
                  "Settings.High", "unknown property"},
        BadLayout{"string for integer",
                  "F: TTestForm {\n W: TTestWidget {\n  Count = \"5\"\n }\n}\n", 3, "Count",
                  "whole number"},
        BadLayout{"float for integer", "F: TTestForm {\n W: TTestWidget {\n  Count = 1.5\n }\n}\n",
                  3, "Count", "whole number"},
        BadLayout{"integer out of range",
                  "F: TTestForm {\n W: TTestWidget {\n  Small = 40000\n }\n}\n", 3, "Small",
                  "out of range"},
        BadLayout{"integer for boolean", "F: TTestForm {\n W: TTestWidget {\n  Active = 1\n }\n}\n",
                  3, "Active", "true or false"},
        BadLayout{"unknown enum member",
                  "F: TTestForm {\n W: TTestWidget {\n  Mode = tmMaybe\n }\n}\n", 3, "Mode",
                  "not a member"},
        BadLayout{"unknown set member",
                  "F: TTestForm {\n W: TTestWidget {\n  Keys = [kA, kZ]\n }\n}\n", 3, "Keys",
                  "not a member"},
        BadLayout{"unclosed set", "F: TTestForm {\n W: TTestWidget {\n  Keys = [kA, kB\n }\n}\n", 3,
                  "Keys", "not closed"},
        BadLayout{"unknown colour", "F: TTestForm {\n W: TTestWidget {\n  Color = clMauve\n }\n}\n",
                  3, "Color", "unknown colour"},
        BadLayout{"unknown handler",
                  "F: TTestForm {\n W: TTestWidget {\n  OnClick = Nowhere\n }\n}\n", 3, "OnClick",
                  "no event handler named 'Nowhere'"},
        BadLayout{"unterminated block", "F: TTestForm {\n  W: TTestWidget {\n    Count = 1\n}\n", 1,
                  "", "not closed"},
        BadLayout{"unterminated string",
                  "F: TTestForm {\n W: TTestWidget {\n  Caption = \"abc\n }\n}\n", 3, "",
                  "unterminated string"},
        BadLayout{"bad hex",
                  "F: TTestForm {\n W: TTestWidget {\n  Blob = bytes {\n  01 G2\n  }\n }\n}\n", 3,
                  "Blob", "bad hex digit 'G'"},
        BadLayout{"odd hex", "F: TTestForm {\n W: TTestWidget {\n  Blob = bytes { 012 }\n }\n}\n",
                  3, "Blob", "odd number"},
        BadLayout{"unclosed bytes", "F: TTestForm {\n W: TTestWidget {\n  Blob = bytes {\n  0102\n",
                  3, "Blob", "not closed"},
        BadLayout{"truncated raw bytes",
                  "F: TTestForm {\n W: TTestWidget {\n  Blob = bytes { 05 0102 }\n }\n}\n", 3,
                  "Blob", "read past the end"},
        BadLayout{"duplicate name",
                  "F: TTestForm {\n W: TTestWidget {\n }\n W: TTestWidget {\n }\n}\n", 4, "",
                  "duplicate component name"},
        BadLayout{"text after the end", "F: TTestForm {\n}\nG: TTestForm {\n}\n", 3, "",
                  "after the end"},
        BadLayout{"stray brace", "}\n", 1, "", "without an open component"},
        BadLayout{"empty text", "", 1, "", "no component"},
        BadLayout{"object as value", "F: TTestForm {\n W: TTestWidget {\n  Settings = 1\n }\n}\n",
                  3, "Settings", "settings object"}),
    [](const ::testing::TestParamInfo<BadLayout>& info) {
        std::string name = info.param.what;
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        return name;
    });

TEST_F(LayoutTest, ReadLayoutOwnsNothingAfterAnError) {
    EXPECT_THROW(ReadLayout("F: TTestForm {\n W: TTestWidget {\n  Count = x\n }\n}\n"),
                 LayoutError);
}

} // namespace
