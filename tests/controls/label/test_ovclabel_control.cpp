// SPDX-License-Identifier: GPL-3.0-or-later
// The caption label as a control: defaults, stored properties and their
// order, loading from a stored layout (notices ignored while loading), the
// font colour rule, painting over the parent, and pointer events.

#include "controls/ovclabel.h"
#include "core/ClassRegistry.h"
#include "core/Layout.h"
#include "platform/SystemColors.h"
#include "tests/controls/WidgetInput.h"
#include "tests/platform/QtTestApp.h"

#include <QImage>
#include <QPalette>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

TEST(OvcLabel, ConstructionDefaults) {
    TOvcLabel label(nullptr);
    EXPECT_EQ(label.Width(), 150);
    EXPECT_EQ(label.Height(), 35);
    EXPECT_TRUE(label.Transparent());
    EXPECT_TRUE(label.WordWrap());
    EXPECT_TRUE(label.ShowAccelChar());
    EXPECT_EQ(label.Alignment(), taLeftJustify);
    EXPECT_EQ(label.Font()->Name(), "Times New Roman");
    EXPECT_EQ(label.Font()->Size(), 20);
    EXPECT_EQ(label.Font()->Color(), clGray);
    EXPECT_EQ(label.Appearance(), apRaised);
    EXPECT_EQ(label.ColorScheme(), csWindows);
    EXPECT_EQ(label.CustomSettings()->HighlightColor(), clWhite);
    EXPECT_EQ(label.CustomSettings()->ShadowColor(), clBlack);
    EXPECT_EQ(label.ClassName(), "TOvcLabel");
}

struct FlagsCase {
    TAlignment alignment;
    bool wordWrap, showAccelChar;
    unsigned flags;
};

class OvcLabelFlags : public ::testing::TestWithParam<FlagsCase> {};

TEST_P(OvcLabelFlags, FromTheLabelSettings) {
    const FlagsCase& c = GetParam();
    EXPECT_EQ(TOvcCustomLabel::TextFlags(c.alignment, c.wordWrap, c.showAccelChar), c.flags);
}

INSTANTIATE_TEST_SUITE_P(Settings, OvcLabelFlags,
                         ::testing::Values(FlagsCase{taLeftJustify, true, true, 0x50},
                                           FlagsCase{taCenter, true, true, 0x51},
                                           FlagsCase{taRightJustify, false, true, 0x42},
                                           FlagsCase{taLeftJustify, false, false, 0x840},
                                           FlagsCase{taCenter, false, false, 0x841}));

TEST(OvcLabel, StoredPropertiesInOrder) {
    TOvcLabel label(nullptr);
    Strings names;
    const PropertyList props = label.StoredProperties();
    for (const auto& p : props.Items())
        names.push_back(p.name);
    const Strings expected{"Left",          "Top",         "Width",       "Height",
                           "Align",         "Alignment",   "Appearance",  "Caption",
                           "Color",         "ColorScheme", "Cursor",      "CustomSettings",
                           "DragCursor",    "DragMode",    "Enabled",     "FocusControl",
                           "Font",          "ParentColor", "ParentFont",  "ParentShowHint",
                           "ShowAccelChar", "ShowHint",    "Transparent", "Visible",
                           "WordWrap",      "OnClick",     "OnDblClick",  "OnDragDrop",
                           "OnDragOver",    "OnEndDrag",   "OnMouseDown", "OnMouseMove",
                           "OnMouseUp"};
    EXPECT_EQ(names, expected);
}

TEST(OvcLabel, FontColourSwitchesNeitherPreset) {
    TOvcLabel label(nullptr);
    label.Font()->SetColor(clRed);
    EXPECT_EQ(label.Appearance(), apRaised);
    EXPECT_EQ(label.ColorScheme(), csWindows);
    label.CustomSettings()->SetShadowDepth(3);
    EXPECT_EQ(label.Appearance(), apCustom);
    label.CustomSettings()->SetShadowColor(clRed);
    EXPECT_EQ(label.ColorScheme(), csCustom);
}

TEST(OvcLabel, RegisteredForTheStoredLayout) {
    RegisterOvcLabel();
    RegisterOvcLabel(); // twice is harmless
    std::unique_ptr<TComponent> owner = std::make_unique<TComponent>(nullptr);
    TComponent* made = ClassRegistry::Instance().Create("TOvcLabel", owner.get());
    ASSERT_NE(made, nullptr);
    EXPECT_NE(dynamic_cast<TOvcLabel*>(made), nullptr);
}

// The stored presets stay as stored although the stored settings that follow
// them would otherwise switch both to custom.
TEST(OvcLabel, LoadingKeepsTheStoredPresets) {
    RegisterOvcLabel();
    TComponent root(nullptr);
    root.SetName("Form1");
    ReadLayoutInto(root, R"(Form1: TComponent {
  OvcLabel1: TOvcLabel {
    Left = 16
    Top = 368
    Width = 81
    Height = 25
    Appearance = apSunken
    Caption = "ОРБЕЛ-01"
    ColorScheme = csGold
    CustomSettings.ShadowColor = clRed
    CustomSettings.ShadowDepth = 3
    Font.Color = clGray
    Font.Height = 17
    Font.Name = "Verdana"
  }
}
)");
    auto* label = dynamic_cast<TOvcLabel*>(root.FindComponent("OvcLabel1"));
    ASSERT_NE(label, nullptr);
    EXPECT_FALSE(label->IsLoading());
    EXPECT_EQ(label->Appearance(), apSunken);
    EXPECT_EQ(label->ColorScheme(), csGold);
    EXPECT_EQ(label->CustomSettings()->ShadowColor(), clRed);
    EXPECT_EQ(label->CustomSettings()->ShadowDepth(), 3);
    EXPECT_EQ(label->CustomSettings()->HighlightDirection(), sdDownRight);
    EXPECT_EQ(label->Caption(), "ОРБЕЛ-01");
    EXPECT_EQ(label->Font()->Color(), clGray);
    EXPECT_EQ(label->Width(), 81);
    // After loading, edits are heard again.
    label->CustomSettings()->SetShadowDepth(4);
    EXPECT_EQ(label->Appearance(), apCustom);

    // What is written reads back the same.
    const std::string text = WriteLayout(root);
    EXPECT_NE(text.find("Appearance = apCustom"), std::string::npos) << text;
    EXPECT_NE(text.find("CustomSettings.ShadowDepth = 4"), std::string::npos) << text;
}

class OvcLabelOnParent : public ::testing::Test {
protected:
    void SetUp() override {
        parent.resize(200, 60);
        QPalette pal = parent.palette();
        pal.setColor(QPalette::Window, QColor(0x40, 0x40, 0x40));
        parent.setPalette(pal);
        parent.setAutoFillBackground(true);
        label = new TOvcLabel(nullptr);
        label->setParent(&parent);
        label->SetBounds(10, 10, 120, 30);
        label->SetCaption("ОРБЕЛ-01");
        label->Font()->SetName("Verdana");
        label->Font()->SetHeight(17);
        parent.show();
    }
    QImage Grab() { return label->grab().toImage().convertToFormat(QImage::Format_RGB32); }

    QWidget parent;
    TOvcLabel* label = nullptr; // owned by the parent widget
};

TEST_F(OvcLabelOnParent, PaintsOverTheParentOrInItsColour) {
    QImage image = Grab();
    ASSERT_EQ(image.size(), QSize(120, 30));
    EXPECT_EQ(image.pixel(119, 29), qRgb(0x40, 0x40, 0x40));
    int grey = 0, white = 0, black = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb px = image.pixel(x, y);
            grey += px == qRgb(0x80, 0x80, 0x80);
            white += px == qRgb(0xFF, 0xFF, 0xFF);
            black += px == qRgb(0, 0, 0);
        }
    EXPECT_GT(grey + white + black, 20) << "no text drawn";

    label->SetTransparent(false);
    label->SetColor(clNavy);
    image = Grab();
    EXPECT_EQ(image.pixel(119, 29), qRgb(0, 0, 0x80));
}

TEST_F(OvcLabelOnParent, ClickNeedsPressAndReleaseOverTheLabel) {
    int clicks = 0, moves = 0;
    label->OnClick.Set([&](TPersistent*) { ++clicks; });
    label->OnMouseMove.Set([&](TPersistent*, TShiftState, int, int) { ++moves; });
    widget_input::Press(*label, QPoint(5, 5));
    widget_input::Release(*label, QPoint(5, 5));
    EXPECT_EQ(clicks, 1);
    // Released outside the label: no click.
    widget_input::Press(*label, QPoint(5, 5));
    widget_input::Release(*label, QPoint(150, 5));
    EXPECT_EQ(clicks, 1);
    // A right-button press and release is no click either.
    widget_input::Press(*label, QPoint(5, 5), Qt::RightButton);
    widget_input::Release(*label, QPoint(5, 5), Qt::RightButton);
    EXPECT_EQ(clicks, 1);
    widget_input::Move(*label, QPoint(20, 10));
    EXPECT_GE(moves, 1);
}

TEST_F(OvcLabelOnParent, DisabledLetsThePointerThroughButDrawsTheSame) {
    const QImage before = Grab();
    label->SetEnabled(false);
    EXPECT_TRUE(label->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_EQ(Grab(), before);
}

} // namespace
