// SPDX-License-Identifier: GPL-3.0-or-later
// The standard controls in a small form read from a stored layout, driven
// through the window.

#include "WindowInput.h"
#include "controls/std/StdForm.h"
#include "controls/std/StdImage.h"
#include "controls/std/StdLabel.h"
#include "controls/std/StdPanel.h"
#include "controls/std/StdRadioButton.h"
#include "controls/std/StdTimer.h"
#include "core/ClassRegistry.h"
#include "core/Layout.h"

#include <QApplication>
#include <QScreen>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace wi = window_input;

namespace {

// The form, a picture under everything, a label over the picture, two
// groups of switch buttons, a timer.
constexpr const char* kLayout = R"(
Form1: TForm {
  BorderStyle = bsSingle
  BorderIcons = [biSystemMenu, biMinimize]
  Caption = "Проба"
  ClientWidth = 300
  ClientHeight = 200
  Position = poScreenCenter
  OnCreate = Created
  Image1: TImage {
    Width = 300
    Height = 200
    OnMouseMove = OverImage
  }
  Label1: TLabel {
    Left = 10
    Top = 10
    Width = 4
    Height = 4
    Caption = "0123"
    Color = 0x00282828
    Font.Height = 20
    Font.Color = clLime
    OnMouseMove = OverLabel
  }
  PanelA: TPanel {
    Left = 10
    Top = 60
    Width = 120
    Height = 60
    BevelOuter = bvNone
    TabOrder = 1
    A1: TRadioButton {
      Left = 2
      Top = 2
      Width = 110
      Height = 17
      Caption = "A1"
      Checked = true
      TabOrder = 1
      OnClick = ClickA1
    }
    A2: TRadioButton {
      Left = 2
      Top = 22
      Width = 110
      Height = 17
      Caption = "A2"
      TabOrder = 0
      OnClick = ClickA2
    }
  }
  PanelB: TPanel {
    Left = 150
    Top = 60
    Width = 120
    Height = 60
    TabOrder = 0
    B1: TRadioButton {
      Left = 2
      Top = 2
      Width = 110
      Height = 17
      Caption = "B1"
      Checked = true
      OnClick = ClickB1
    }
    B2: TRadioButton {
      Left = 2
      Top = 22
      Width = 110
      Height = 17
      Caption = "B2"
      OnClick = ClickB2
    }
  }
  Label2: TLabel {
    Left = 150
    Top = 70
    Caption = "под панелью"
    OnMouseMove = OverLabel2
  }
  Timer1: TTimer {
    Interval = 10
    OnTimer = Tick
  }
}
)";

class StdControls : public ::testing::Test {
protected:
    void SetUp() override {
        auto& r = ClassRegistry::Instance();
        r.Register<TLabel>("TLabel");
        r.Register<TImage>("TImage");
        r.Register<TPanel>("TPanel");
        r.Register<TRadioButton>("TRadioButton");
        r.Register<TTimer>("TTimer");
        form = std::make_unique<TForm>();
        auto log = [this](const char* what) {
            return TNotifyEvent([this, what](TPersistent*) { events.push_back(what); });
        };
        auto move = [this](const char* what) {
            return TMouseMoveEvent(
                [this, what](TPersistent*, TShiftState, int, int) { events.push_back(what); });
        };
        form->RegisterMethod("Created", log("created"));
        form->RegisterMethod("ClickA1", log("A1"));
        form->RegisterMethod("ClickA2", log("A2"));
        form->RegisterMethod("ClickB1", log("B1"));
        form->RegisterMethod("ClickB2", log("B2"));
        form->RegisterMethod("Tick", log("tick"));
        form->RegisterMethod("OverImage", move("image"));
        form->RegisterMethod("OverLabel", move("label"));
        form->RegisterMethod("OverLabel2", move("label2"));
        form->LoadLayout(kLayout);
    }

    template <class T> T* Get(const char* name) {
        return dynamic_cast<T*>(form->FindComponent(name));
    }

    void ShowForm() {
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    int Count(const std::string& what) const {
        return static_cast<int>(std::count(events.begin(), events.end(), what));
    }

    std::vector<std::string> events;
    std::unique_ptr<TForm> form;
};

TEST_F(StdControls, LoadingFiresNoClickAndCreateComesLast) {
    // The stored Checked selects without a click; OnCreate follows loading.
    EXPECT_EQ(Count("A1"), 0);
    EXPECT_EQ(Count("B1"), 0);
    EXPECT_EQ(Count("created"), 1);
    EXPECT_TRUE(Get<TRadioButton>("A1")->Checked());
    EXPECT_TRUE(Get<TRadioButton>("B1")->Checked());
}

TEST_F(StdControls, FrameIsFixedWithoutMaximiseAndCentred) {
    ShowForm();
    EXPECT_EQ(form->size(), QSize(300, 200));
    EXPECT_EQ(form->minimumSize(), QSize(300, 200));
    EXPECT_EQ(form->maximumSize(), QSize(300, 200));
    EXPECT_FALSE(form->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(form->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(form->windowTitle(), QString::fromUtf8("Проба"));
    const QPoint screenCentre = form->screen()->availableGeometry().center();
    EXPECT_LE((form->frameGeometry().center() - screenCentre).manhattanLength(), 2);
}

TEST_F(StdControls, LabelSizesItselfToItsTextAndPaintsItsBackground) {
    auto* label = Get<TLabel>("Label1");
    const QSize first = label->size();
    EXPECT_EQ(first, label->TextExtent());
    EXPECT_GT(first.width(), 4);
    label->SetCaption("0");
    EXPECT_LT(label->width(), first.width());
    ShowForm();
    const QImage shot = label->grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(shot.width() - 1, 0)), QColor(0x28, 0x28, 0x28));
}

TEST_F(StdControls, SwitchButtonsOfOneParentFormAGroupAndClickOnlyWhenChecked) {
    ShowForm();
    auto* a1 = Get<TRadioButton>("A1");
    auto* a2 = Get<TRadioButton>("A2");
    auto* b1 = Get<TRadioButton>("B1");
    const QPoint a2At = a2->mapTo(form.get(), QPoint(20, 8));
    wi::Click(*form, a2At);
    EXPECT_TRUE(a2->Checked());
    EXPECT_FALSE(a1->Checked());
    EXPECT_TRUE(b1->Checked()) << "another parent's group is left alone";
    EXPECT_EQ(Count("A2"), 1);
    // A click on the selected button does nothing.
    wi::Click(*form, a2At);
    EXPECT_EQ(Count("A2"), 1);
    // The far right of the control counts too, not only the text.
    wi::Click(*form, a1->mapTo(form.get(), QPoint(a1->width() - 3, 8)));
    EXPECT_TRUE(a1->Checked());
    EXPECT_EQ(Count("A1"), 1);
}

TEST_F(StdControls, DisabledControlLetsThePointerThroughToTheControlBeneath) {
    ShowForm();
    auto* label = Get<TLabel>("Label1");
    const QPoint over = label->geometry().center();
    wi::Move(*form, over);
    EXPECT_EQ(Count("label"), 1);
    label->SetEnabled(false);
    wi::Move(*form, over + QPoint(1, 0));
    EXPECT_EQ(Count("label"), 1);
    EXPECT_EQ(Count("image"), 1) << "the picture beneath gets the move, not only the form";
    label->SetEnabled(true);
    wi::Move(*form, over);
    EXPECT_EQ(Count("label"), 2);
}

TEST_F(StdControls, WindowedControlsLieAboveLaterPlainOnes) {
    ShowForm();
    // Label2 was created after PanelB and lies inside it, but the panel has
    // a window of its own and stays on top.
    auto* panelB = Get<TPanel>("PanelB");
    const QPoint inside = panelB->geometry().topLeft() + QPoint(115, 50);
    EXPECT_EQ(form->childAt(inside), panelB);
    wi::Move(*form, inside);
    EXPECT_EQ(Count("label2"), 0);
}

TEST_F(StdControls, FocusFollowsTabOrderWithinEachParent) {
    ShowForm();
    auto* a1 = Get<TRadioButton>("A1");
    auto* a2 = Get<TRadioButton>("A2");
    auto* b1 = Get<TRadioButton>("B1");
    // PanelB (order 0) comes before PanelA (order 1); in PanelA, A2 before A1.
    std::vector<QWidget*> order{b1};
    for (QWidget* w = b1->nextInFocusChain(); w != b1; w = w->nextInFocusChain())
        if (w->focusPolicy() != Qt::NoFocus)
            order.push_back(w);
    const std::vector<QWidget*> expected{b1, Get<TRadioButton>("B2"), a2, a1};
    EXPECT_EQ(order, expected);
    // Tab reaches each group at its selected button.
    EXPECT_TRUE(a1->focusPolicy() & Qt::TabFocus);
    EXPECT_FALSE(a2->focusPolicy() & Qt::TabFocus);
    EXPECT_EQ(form->focusWidget(), b1) << "the first in the order has the focus at the start";
}

TEST_F(StdControls, TimerTicksOnTheWindowThreadWhileEnabled) {
    auto* timer = Get<TTimer>("Timer1");
    EXPECT_TRUE(timer->Active());
    QTRY_VERIFY_WITH_TIMEOUT(Count("tick") >= 2, 5000);
    timer->SetEnabled(false);
    EXPECT_FALSE(timer->Active());
    const int ticks = Count("tick");
    QTest::qWait(50);
    EXPECT_EQ(Count("tick"), ticks);
}

TEST_F(StdControls, WrittenLayoutReadsBackTheSameSettings) {
    const std::string text = WriteLayout(*form);
    TForm copy;
    for (const char* h : {"Created", "ClickA1", "ClickA2", "ClickB1", "ClickB2", "Tick"})
        copy.RegisterMethod(h, TNotifyEvent([](TPersistent*) {}));
    for (const char* h : {"OverImage", "OverLabel", "OverLabel2"})
        copy.RegisterMethod(h, TMouseMoveEvent([](TPersistent*, TShiftState, int, int) {}));
    copy.LoadLayout(text);
    EXPECT_EQ(WriteLayout(copy), text);
    EXPECT_EQ(dynamic_cast<TLabel*>(copy.FindComponent("Label1"))->Caption(), "0123");
    EXPECT_EQ(dynamic_cast<QWidget*>(copy.FindComponent("A2"))->parentWidget(),
              dynamic_cast<QWidget*>(copy.FindComponent("PanelA")));
}

} // namespace
