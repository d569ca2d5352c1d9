// SPDX-License-Identifier: GPL-3.0-or-later
// The coloured bit button's state machine: modes, groups, the status word,
// flashing registration, real mouse input and loading from a stored layout.

#include "ButtonTestKit.h"
#include "controls/AbCBitBt.h"
#include "core/ClassRegistry.h"
#include "core/Layout.h"
#include "tests/platform/QtTestApp.h"

#include <QMouseEvent>

#include <stdexcept>

#include <gtest/gtest.h>

using namespace window_input;

namespace {

class ColBitBtnTest : public ::testing::Test {
protected:
    TAbColBitBtn* Button(int left, TMode mode = mButton, int group = 0, int bit = 0) {
        auto* b = new TAbColBitBtn(&form);
        b->SetBounds(left, 10, 60, 30);
        b->SetGroupIndex(group);
        b->SetStatusBit(bit);
        b->SetMode(mode);
        b->show();
        return b;
    }
    // Counts OnStatusIntChanged of a button.
    static void CountWordChanges(TAbColBitBtn* b, int& n) {
        b->OnStatusIntChanged.Set([&n](TPersistent*) { ++n; });
    }
    TTestForm form;
};

TEST_F(ColBitBtnTest, RadioGroupOfThreeFollowsThePressedButton) {
    TAbColBitBtn* r[3];
    for (int i = 0; i < 3; ++i)
        r[i] = Button(10 + 70 * i, mRadioButton, 1, i);
    form.Show();
    // The member with bit 0 is the group's initial choice.
    EXPECT_TRUE(r[0]->Checked());
    EXPECT_EQ(r[2]->StatusInt(), 1);

    Click(*r[2]);
    for (auto* b : r)
        EXPECT_EQ(b->StatusInt(), 4);
    EXPECT_FALSE(r[0]->Checked());
    EXPECT_FALSE(r[1]->Checked());
    EXPECT_TRUE(r[2]->Checked());
    EXPECT_FALSE(r[2]->Pressed());

    int changes = 0;
    CountWordChanges(r[0], changes);
    Click(*r[2]);
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(r[2]->Checked());
}

TEST_F(ColBitBtnTest, SwitchGroupCombinesBits) {
    TAbColBitBtn* a = Button(10, mSwitch, 2, 0);
    TAbColBitBtn* b = Button(80, mSwitch, 2, 1);
    TAbColBitBtn* other = Button(150, mSwitch, 3, 0);
    form.Show();
    Click(*a);
    Click(*b);
    EXPECT_EQ(a->StatusInt(), 3);
    EXPECT_EQ(b->StatusInt(), 3);
    EXPECT_TRUE(a->Checked() && b->Checked());
    EXPECT_EQ(other->StatusInt(), 0);
    Click(*a);
    EXPECT_EQ(b->StatusInt(), 2);
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
}

TEST_F(ColBitBtnTest, AHandlerMayDestroyAGroupMember) {
    TAbColBitBtn* r[3];
    for (int i = 0; i < 3; ++i)
        r[i] = Button(10 + 70 * i, mRadioButton, 1, i);
    form.Show();
    // While the group follows r[2], r[0] goes off and takes r[1] with it.
    r[0]->OnStatusChanged.Set([&](TPersistent*) {
        delete r[1];
        r[1] = nullptr;
    });
    Click(*r[2]);
    EXPECT_EQ(r[1], nullptr);
    EXPECT_EQ(r[0]->StatusInt(), 4);
    EXPECT_TRUE(r[2]->Checked());
}

TEST_F(ColBitBtnTest, AThrowingHandlerDoesNotStopLaterPropagation) {
    TAbColBitBtn* a = Button(10, mSwitch, 2, 0);
    TAbColBitBtn* b = Button(80, mSwitch, 2, 1);
    b->OnStatusIntChanged.Set([](TPersistent*) { throw std::runtime_error("handler failed"); });
    EXPECT_THROW(a->SetStatusInt(1), std::runtime_error);
    b->OnStatusIntChanged.Set(nullptr);
    a->SetStatusInt(3);
    EXPECT_EQ(b->StatusInt(), 3);
    EXPECT_TRUE(b->Checked());
}

TEST_F(ColBitBtnTest, PushButtonReleasedOutsideIsNoClick) {
    TAbColBitBtn* b = Button(10);
    form.Show();
    int clicks = 0;
    b->OnClick.Set([&](TPersistent*) { ++clicks; });
    window_input::Press(*b, {5, 5});
    EXPECT_TRUE(b->Checked());
    EXPECT_TRUE(b->Pressed());
    // The release goes to the button that took the press, wherever it is.
    window_input::Release(*b, {200, 100});
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(b->Checked());
    EXPECT_FALSE(b->Pressed());

    bool checkedDuringClick = false;
    b->OnClick.Set([&](TPersistent*) {
        ++clicks;
        checkedDuringClick = b->Checked();
    });
    Click(*b);
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(checkedDuringClick);
    EXPECT_FALSE(b->Checked());
}

TEST_F(ColBitBtnTest, DisablingInsideOnClickLeavesItOffAndLetsThePointerThrough) {
    TAbColBitBtn* b = Button(10);
    form.Show();
    b->OnClick.Set([&](TPersistent*) { b->SetEnabled(false); });
    Click(*b);
    EXPECT_FALSE(b->Enabled());
    EXPECT_FALSE(b->Checked());
    EXPECT_FALSE(b->Pressed());

    // A press on the disabled button reaches the form beneath it.
    struct PressSpy : QObject {
        int presses = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            presses += e->type() == QEvent::MouseButtonPress;
            return false;
        }
    } spy;
    form.installEventFilter(&spy);
    int downs = 0;
    b->OnMouseDown.Set([&](TPersistent*, TMouseButton, TShiftState, int, int) { ++downs; });
    Click(*b);
    EXPECT_EQ(downs, 0);
    EXPECT_EQ(spy.presses, 1);
    EXPECT_FALSE(b->Checked());
    form.removeEventFilter(&spy);
}

TEST_F(ColBitBtnTest, IndicatorReportsTheClickButKeepsItsState) {
    TAbColBitBtn* b = Button(10, mIndicator);
    form.Show();
    std::vector<std::string> events;
    b->OnMouseDown.Set(
        [&](TPersistent*, TMouseButton, TShiftState, int, int) { events.push_back("down"); });
    b->OnClick.Set([&](TPersistent*) { events.push_back("click"); });
    b->OnMouseUp.Set(
        [&](TPersistent*, TMouseButton, TShiftState, int, int) { events.push_back("up"); });
    Click(*b);
    EXPECT_EQ(events, (std::vector<std::string>{"down", "click", "up"}));
    EXPECT_FALSE(b->Checked());
    EXPECT_FALSE(b->Pressed());
    // The program may still switch it.
    b->SetChecked(true);
    EXPECT_EQ(b->StatusInt(), 1);
}

TEST_F(ColBitBtnTest, RightButtonDoesNotWorkTheButton) {
    TAbColBitBtn* b = Button(10, mSwitch);
    form.Show();
    Click(*b, {5, 5}, Qt::RightButton);
    EXPECT_FALSE(b->Checked());
    EXPECT_FALSE(b->Pressed());
}

TEST_F(ColBitBtnTest, ModeResetsTheWordAndRangesAreGuarded) {
    TAbColBitBtn* b = Button(10, mSwitch);
    b->SetChecked(true);
    b->SetMode(mButton);
    EXPECT_FALSE(b->Checked());
    EXPECT_EQ(b->StatusInt(), 0);

    b->SetMode(mSwitch);
    b->SetStatusInt(0x24);
    for (int bad : {-1, 32})
        b->SetStatusBit(bad);
    EXPECT_EQ(b->StatusBit(), 0);
    b->SetStatusBit(5);
    EXPECT_TRUE(b->Checked());
    b->SetGroupIndex(-3);
    EXPECT_EQ(b->GroupIndex(), 0);
    // An unchecked radio button leaves the word alone.
    b->SetMode(mRadioButton);
    EXPECT_EQ(b->StatusInt(), 1);
    EXPECT_FALSE(b->Checked());
}

TEST_F(ColBitBtnTest, JoiningAGroupTakesItsWord) {
    TAbColBitBtn* a = Button(10, mSwitch, 4, 0);
    a->SetStatusInt(6);
    TAbColBitBtn* b = Button(80, mSwitch, 0, 1);
    b->SetGroupIndex(4);
    EXPECT_EQ(b->StatusInt(), 6);
    EXPECT_TRUE(b->Checked());
}

TEST_F(ColBitBtnTest, StatusEventsFireOncePerChange) {
    TAbColBitBtn* b = Button(10, mSwitch);
    int status = 0, word = 0;
    b->OnStatusChanged.Set([&](TPersistent*) { ++status; });
    CountWordChanges(b, word);
    b->SetChecked(true);
    b->SetChecked(true);
    b->SetFlashing(true);
    EXPECT_EQ(status, 2);
    EXPECT_EQ(word, 1);
    b->SetFlashing(false);
}

TEST_F(ColBitBtnTest, FlashingRegistersExactlyWhileCheckedAndFlashing) {
    auto registered = [](TAbColBitBtn* b) {
        int n = 0;
        for (const TFlashClient& c : FlashClients())
            n += c.Control == static_cast<TFlashTarget*>(b);
        return n;
    };
    TAbColBitBtn* b = Button(10, mSwitch);
    b->SetFlashing(true);
    EXPECT_EQ(registered(b), 0);
    b->SetChecked(true);
    ASSERT_EQ(registered(b), 1);
    RegistryFlashTimer()->SetEnabled(false); // ticks are driven by hand below
    b->SetFrequency(ff05Hz);
    EXPECT_EQ(registered(b), 1);
    b->SetChecked(false);
    EXPECT_EQ(registered(b), 0);
    b->SetChecked(true);
    EXPECT_EQ(registered(b), 1);
    delete b;
    EXPECT_TRUE(FlashClients().empty());
}

TEST_F(ColBitBtnTest, StoredPropertiesComeInTheirOrder) {
    TAbColBitBtn b(&form);
    std::string names;
    const PropertyList list = b.StoredProperties();
    for (const PropertyInfo& p : list.Items())
        names += p.name + " ";
    const char* want[]{"Left",
                       "Top",
                       "Width",
                       "Height",
                       "Visible",
                       "PopupMenu",
                       "PosHorizontal",
                       "PosVertical",
                       "PosGlyph",
                       "GradBtnFace",
                       "ButtonBevel",
                       "FlashOptions",
                       "CheckedOptions",
                       "ColorOff",
                       "ColorDisabled",
                       "ColorOn",
                       "OffsetX",
                       "OffsetY",
                       "OffsetDown",
                       "NumGlyph",
                       "Beveled",
                       "Transparent",
                       "Flat",
                       "Spacing",
                       "TextOff",
                       "TextOn",
                       "TextColOn",
                       "TextColOff",
                       "TextColDisabled",
                       "Text3D",
                       "Frequency",
                       "Flashing",
                       "GroupIndex",
                       "StatusBit",
                       "StatusInt",
                       "Checked",
                       "Mode",
                       "Enabled",
                       "Font",
                       "ParentFont",
                       "OnStatusChanged",
                       "OnStatusIntChanged",
                       "OnClick",
                       "OnDblClick",
                       "OnDragDrop",
                       "OnDragOver",
                       "OnEndDrag",
                       "OnStartDrag",
                       "OnMouseDown",
                       "OnMouseMove",
                       "OnMouseUp"};
    std::string wantNames;
    for (const char* w : want)
        wantNames += std::string(w) + " ";
    EXPECT_EQ(names, wantNames);
}

TEST_F(ColBitBtnTest, LoadingAppliesModeAfterTheWord) {
    RegisterAbCBitBtnClasses();
    int clicks = 0;
    form.RegisterMethod("Btn1Click", TNotifyEvent([&](TPersistent*) { ++clicks; }));
    struct Case {
        const char* mode;
        std::int32_t word;
    };
    for (Case c :
         {Case{"mSwitch", 5}, Case{"mIndicator", 5}, Case{"mButton", 0}, Case{"mRadioButton", 1}}) {
        SCOPED_TRACE(c.mode);
        const std::string text = std::string("Form: TTestForm {\n"
                                             "  Btn1: TAbColBitBtn {\n"
                                             "    Left = 5\n"
                                             "    TextOn = \"Старт\"\n"
                                             "    StatusInt = 5\n"
                                             "    Checked = true\n"
                                             "    Mode = ") +
                                 c.mode +
                                 "\n"
                                 "    OnClick = Btn1Click\n"
                                 "  }\n"
                                 "}\n";
        ReadLayoutInto(form, text);
        auto* b = dynamic_cast<TAbColBitBtn*>(form.FindComponent("Btn1"));
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->StatusInt(), c.word);
        EXPECT_EQ(b->TextOn(), "Старт");
        b->OnClick(b);
        EXPECT_FALSE(b->IsLoading());
        delete b;
    }
    EXPECT_EQ(clicks, 4);
}

TEST_F(ColBitBtnTest, LayoutRoundTripKeepsTheGlyph) {
    RegisterAbCBitBtnClasses();
    form.SetName("Form");
    auto* b = new TAbColBitBtn(&form);
    b->SetName("Btn");
    QImage strip(6, 3, QImage::Format_RGB32);
    strip.fill(Qt::red);
    b->SetGlyph(TBitmap(strip));
    b->SetNumGlyph(2);
    b->SetMode(mSwitch);
    const std::string text = WriteLayout(form);
    delete b;
    ReadLayoutInto(form, text);
    auto* copy = dynamic_cast<TAbColBitBtn*>(form.FindComponent("Btn"));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->Glyph().Width(), 6);
    EXPECT_EQ(copy->NumGlyph(), 2);
    EXPECT_EQ(copy->Mode(), mSwitch);
}

} // namespace
