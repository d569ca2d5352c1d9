// SPDX-License-Identifier: GPL-3.0-or-later
// The analog input control base: value and digit, texts, keys, wheel,
// mouse, focus, the two value events and loading.

#include "AnalogTestDial.h"
#include "controls/analog/AbAnalogGControl.h"
#include "core/ClassRegistry.h"
#include "core/Layout.h"
#include "tests/controls/WidgetInput.h"
#include "tests/platform/QtTestApp.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

namespace wi = widget_input;

namespace {

// A control on a shown, active window, with the keyboard focus.
struct Bench {
    QWidget host;
    TTestDial* dial = new TTestDial(nullptr);

    Bench() {
        host.resize(200, 200);
        dial->setParent(&host);
        dial->SetBounds(10, 10, 84, 84);
        dial->show();
        wi::Activate(host);
        dial->setFocus();
        QApplication::processEvents();
    }
    TTestDial& d() { return *dial; }
};

// --- Value and digit ------------------------------------------------------

struct TextRow {
    DialSetup dial;
    int digit;
    const char* text;
};

class DialTextTest : public testing::TestWithParam<TextRow> {};

TEST_P(DialTextTest, DigitGivesThePanelText) {
    const TextRow& row = GetParam();
    TTestDial dial(nullptr);
    LoadDial(dial, row.dial);
    dial.SetDigit(row.digit);
    EXPECT_EQ(dial.Digit(), row.digit);
    EXPECT_EQ(dial.ValueText(), row.text) << row.dial.name << " digit " << row.digit;
    EXPECT_EQ(dial.DigitText(), std::to_string(row.digit));
}

std::vector<TextRow> HundredsRows() {
    const char* texts[] = {"0", "1", "2", "3", "4", "5", "5", "6", "7", "8", "9"};
    std::vector<TextRow> rows;
    for (int d = 0; d <= 10; ++d)
        rows.push_back({kHundredsDial, d, texts[d]});
    return rows;
}

INSTANTIATE_TEST_SUITE_P(Hundreds, DialTextTest, testing::ValuesIn(HundredsRows()));
INSTANTIATE_TEST_SUITE_P(
    Units, DialTextTest,
    testing::Values(TextRow{kUnitsDial1Hz, 1, "01"}, TextRow{kUnitsDial1Hz, 50, "50"},
                    TextRow{kUnitsDial1Hz, 51, "50"}, TextRow{kUnitsDial1Hz, 100, "99"},
                    TextRow{kUnitsDial10Hz, 5, "50"}, TextRow{kUnitsDial10Hz, 9, "90"},
                    TextRow{kUnitsDial10Hz, 10, "100"}));
INSTANTIATE_TEST_SUITE_P(
    ThousandsAndAmplitude, DialTextTest,
    testing::Values(TextRow{kThousandsDial, 2, "02"}, TextRow{kThousandsDial, 7, "07"},
                    TextRow{kThousandsDial, 20, "20"}, TextRow{kAmplitudeDial, 1, "001"},
                    TextRow{kAmplitudeDial, 99, "099"}, TextRow{kAmplitudeDial, 100, "100"}));

TEST(AnalogControl, ValueOutsideTheRangeGoesToItsEnds) {
    TTestDial dial(nullptr);
    LoadDial(dial, kAmplitudeDial);
    dial.SetValue(150.0f);
    EXPECT_EQ(dial.Digit(), 100);
    EXPECT_EQ(dial.Value(), 100.0f);
    dial.SetValue(-3.0f);
    EXPECT_EQ(dial.Digit(), 0);
    EXPECT_EQ(dial.Value(), TSignalSettings::kZeroValueFrom);
    dial.SetDigit(1000);
    EXPECT_EQ(dial.Digit(), 100);
    dial.SetDigit(-5);
    EXPECT_EQ(dial.Digit(), 0);
}

TEST(AnalogControl, ValueKeepsItsOwnNumberWhileTheDigitStays) {
    TTestDial dial(nullptr);
    dial.Loaded(); // default ranges: 1000 digits over 0 .. 100
    dial.SetValue(50.04f);
    EXPECT_EQ(dial.Digit(), 500);
    EXPECT_EQ(dial.Value(), 50.0f); // a new digit snaps the value
    dial.SetValue(50.02f);
    EXPECT_EQ(dial.Digit(), 500);
    EXPECT_EQ(dial.Value(), 50.02f); // the same digit leaves it as asked
    EXPECT_EQ(dial.ValueText(), "50.0");
}

TEST(AnalogControl, DigitRoundsHalvesToEven) {
    TTestDial dial(nullptr);
    dial.SignalSettings()->SetDigitalTo(100); // one digit per value
    dial.Loaded();
    dial.SetValue(2.5f);
    EXPECT_EQ(dial.Digit(), 2);
    dial.SetValue(3.5f);
    EXPECT_EQ(dial.Digit(), 4);
}

TEST(AnalogControl, SameDigitOrNaNChangesNothingAndFiresNothing) {
    TTestDial dial(nullptr);
    LoadDial(dial, kAmplitudeDial);
    ValueEventSpy spy(dial);
    const int before = dial.digitChanges;
    dial.SetDigit(50);
    dial.SetValue(std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ(dial.Value(), 50.0f);
    EXPECT_TRUE(spy.changes.empty());
    EXPECT_EQ(dial.digitChanges, before);
    dial.SetValue(60.0f);
    EXPECT_EQ(spy.changes, std::vector<int>{60});
    EXPECT_EQ(spy.changed, 0); // code changes report no end of a gesture
    EXPECT_TRUE(dial.ValueChangedPending());
}

TEST(AnalogControl, DigitBeforeAnyRecomputationGetsItsValue) {
    TTestDial dial(nullptr); // never loaded: the factors were never computed
    EXPECT_EQ(dial.ValueText(), "0.0");
    EXPECT_EQ(dial.DigitText(), "0");
    dial.SetDigit(500);
    EXPECT_FLOAT_EQ(dial.Value(), 50.0f);
}

// --- Loading and the settings refresh -------------------------------------

TEST(AnalogControl, PanelDialsLeaveLoadingWithTheirStoredValues) {
    struct Row {
        DialSetup setup;
        float value;
        int digit;
        const char* text;
    };
    for (const Row& row :
         {Row{kThousandsDial, 1.0f, 1, "01"}, Row{kHundredsDial, 0.0f, 0, "0"},
          Row{kUnitsDial10Hz, 0.0f, 0, "00"}, Row{kAmplitudeDial, 50.0f, 50, "050"}}) {
        TTestDial dial(nullptr);
        ValueEventSpy spy(dial);
        LoadDial(dial, row.setup);
        EXPECT_EQ(dial.Value(), row.value) << row.setup.name;
        EXPECT_EQ(dial.Digit(), row.digit) << row.setup.name;
        EXPECT_EQ(dial.ValueText(), row.text) << row.setup.name;
        EXPECT_EQ(dial.UpdateCount(), 0);
        EXPECT_TRUE(dial.ValueChangedPending()) << row.setup.name;
        EXPECT_TRUE(spy.changes.empty()) << "no OnValueChange while loading";
    }
}

// The digit a value was snapped to under the default ranges used to
// survive loading, so the first step jumped (amplitude 50 to 100, thousands
// 1 kHz to 11 kHz).
TEST(AnalogControl, FirstKeyStepAfterLoadingStartsFromTheLoadedValue) {
    struct Row {
        DialSetup setup;
        const char* afterUp;
        const char* afterDown;
    };
    for (const Row& row : {Row{kAmplitudeDial, "051", "049"}, Row{kThousandsDial, "02", "00"}}) {
        for (bool up : {true, false}) {
            Bench b;
            LoadDial(b.d(), row.setup);
            wi::KeyClick(b.d(), up ? Qt::Key_Up : Qt::Key_Down);
            EXPECT_EQ(b.d().ValueText(), up ? row.afterUp : row.afterDown) << row.setup.name;
        }
    }
}

TEST(AnalogControl, StepSwitchKeepsTheValueAndRealignsTheDigit) {
    Bench b;
    LoadDial(b.d(), kUnitsDial10Hz);
    ValueEventSpy spy(b.d());
    b.d().SetValue(50.0f);
    ASSERT_EQ(b.d().Digit(), 5);
    spy.changes.clear();
    // 10 Hz to 1 Hz, as the panel's step switch does it.
    b.d().SignalSettings()->SetDigitalTo(100);
    b.d().SignalSettings()->SetValueTo(99.0f);
    EXPECT_EQ(b.d().Value(), 50.0f);
    EXPECT_EQ(b.d().ValueText(), "50");
    EXPECT_EQ(b.d().Digit(), 51);
    EXPECT_TRUE(spy.changes.empty()) << "a range change is no value change";
    wi::KeyClick(b.d(), Qt::Key_Up);
    EXPECT_EQ(b.d().ValueText(), "51");
    // And back to 10 Hz.
    b.d().SignalSettings()->SetDigitalTo(10);
    b.d().SignalSettings()->SetValueTo(100.0f);
    EXPECT_EQ(b.d().Digit(), 5);
    wi::KeyClick(b.d(), Qt::Key_Up);
    EXPECT_EQ(b.d().ValueText(), "60");
}

TEST(AnalogControl, SettingsRefreshWaitsForTheEndOfLoading) {
    TTestDial dial(nullptr);
    dial.SetLoading(true);
    EXPECT_EQ(dial.UpdateCount(), 1);
    dial.SignalSettings()->SetDigitalTo(20);
    dial.RequestSettingsChanged();
    EXPECT_EQ(dial.settingsChanges, 0);
    dial.Loaded();
    EXPECT_EQ(dial.UpdateCount(), 0);
    dial.RequestSettingsChanged();
    dial.SignalSettings()->SetDigitalTo(30);
    EXPECT_EQ(dial.settingsChanges, 2);
    dial.SetColorFocus(clYellow);
    dial.SetColorFocus(clYellow);
    EXPECT_EQ(dial.settingsChanges, 3);
}

TEST(AnalogControl, StoredPropertiesPutValueBeforeTheSignalSettings) {
    TTestDial dial(nullptr);
    const PropertyList props = dial.StoredProperties();
    std::vector<std::string> own;
    bool seen = false;
    for (const auto& p : props.Items()) {
        seen = seen || p.name == "Value";
        if (seen)
            own.push_back(p.name);
    }
    EXPECT_EQ(own, (std::vector<std::string>{"Value", "ChangeLarge", "ChangeSmall", "OnValueChange",
                                             "OnValueChanged", "SignalSettings", "ColorFocus",
                                             "ColorNonFocus", "CursorSlide", "EnableKeyboard",
                                             "EnabledKeys", "ValueIndicator"}));
    const PropertyInfo* keys = props.Find("EnabledKeys");
    ASSERT_NE(keys, nullptr);
    EXPECT_EQ(keys->members, EnabledKeyNames());
    EXPECT_EQ(std::get<std::int64_t>(*keys->defaultValue), 0xFF);
    EXPECT_EQ(std::get<bool>(*props.Find("TabStop")->defaultValue), true);
}

class TDialOwnerForm : public TComponent {
public:
    using TComponent::TComponent;
    std::string ClassName() const override { return "TTestForm"; }
};

const char* kPanelDialLayout = R"(Form1: TTestForm {
  AbGearDial4: TTestDial {
    Left = 503
    Top = 233
    Width = 84
    Height = 84
    Value = 50.0
    OnValueChanged = AbGearDial4ValueChanged
    SignalSettings.DigitalTo = 100
    SignalSettings.ValueFormat = "000"
    SignalSettings.ValueFrom = 1e-06
    ColorFocus = clYellow
    ValueIndicator = Display1
  }
  Display1: TAbAnalogGControl {
  }
}
)";

TEST(AnalogControl, LoadsFromTheStoredLayout) {
    ClassRegistry::Instance().Register<TTestDial>("TTestDial");
    ClassRegistry::Instance().Register<TAbAnalogGControl>("TAbAnalogGControl");
    TDialOwnerForm form(nullptr);
    int changed = 0;
    form.RegisterMethod("AbGearDial4ValueChanged", TNotifyEvent([&](TPersistent*) { ++changed; }));
    ReadLayoutInto(form, kPanelDialLayout);
    auto* dial = dynamic_cast<TTestDial*>(form.FindComponent("AbGearDial4"));
    auto* display = dynamic_cast<TAbAnalogGControl*>(form.FindComponent("Display1"));
    ASSERT_TRUE(dial && display);
    EXPECT_EQ(dial->Digit(), 50);
    EXPECT_EQ(dial->ValueText(), "050");
    EXPECT_EQ(dial->ColorFocus(), clYellow);
    EXPECT_EQ(dial->Width(), 84);
    // The indicator named before it existed is linked at the end of loading.
    EXPECT_EQ(dial->ValueIndicator(), display);
    EXPECT_EQ(display->SignalSettings()->DigitalTo(), 100);
    EXPECT_EQ(display->Value(), 50.0f);
    dial->OnValueChanged.Handler()(dial);
    EXPECT_EQ(changed, 1);

    // Written back, Value stands before the signal settings.
    const std::string text = WriteLayout(form);
    const size_t value = text.find("Value = ");
    const size_t settings = text.find("SignalSettings.");
    ASSERT_NE(value, std::string::npos);
    ASSERT_NE(settings, std::string::npos);
    EXPECT_LT(value, settings);
    EXPECT_NE(text.find("OnValueChanged = AbGearDial4ValueChanged"), std::string::npos);
    EXPECT_NE(text.find("ValueIndicator = Display1"), std::string::npos);
}

// --- Keyboard -------------------------------------------------------------

struct KeyRow {
    Qt::Key key;
    TEnabledKey bit;
    int digit; // from 50 in 0 .. 100, large step 10, small step 1
};

class KeyTest : public testing::TestWithParam<KeyRow> {};

TEST_P(KeyTest, KeyStepsTheDigitAndItsReleaseReportsTheChange) {
    const KeyRow& row = GetParam();
    Bench b;
    LoadDial(b.d(), kAmplitudeDial);
    ValueEventSpy spy(b.d());
    wi::KeyPress(b.d(), row.key);
    EXPECT_EQ(b.d().Digit(), row.digit);
    EXPECT_EQ(spy.changes, std::vector<int>{row.digit});
    EXPECT_EQ(spy.changed, 0) << "reported at the release";
    wi::KeyRelease(b.d(), row.key);
    EXPECT_EQ(spy.changed, 1);
    wi::KeyRelease(b.d(), row.key);
    EXPECT_EQ(spy.changed, 1) << "reported once";
}

TEST_P(KeyTest, KeyMissingFromEnabledKeysDoesNothingButItsReleaseReports) {
    const KeyRow& row = GetParam();
    for (bool keyboard : {true, false}) {
        Bench b;
        LoadDial(b.d(), kAmplitudeDial);
        if (keyboard)
            b.d().SetEnabledKeys(kAllEnabledKeys & ~EnabledKeyBit(row.bit));
        else
            b.d().SetEnableKeyboard(false);
        ValueEventSpy spy(b.d());
        wi::KeyPress(b.d(), row.key);
        EXPECT_EQ(b.d().Digit(), 50);
        EXPECT_TRUE(spy.changes.empty());
        wi::KeyRelease(b.d(), row.key);
        EXPECT_EQ(spy.changed, 1) << "the pending change is reported";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyTest,
    testing::Values(KeyRow{Qt::Key_PageUp, ekPrior, 60}, KeyRow{Qt::Key_PageDown, ekNext, 40},
                    KeyRow{Qt::Key_End, ekEnd, 100}, KeyRow{Qt::Key_Home, ekHome, 0},
                    KeyRow{Qt::Key_Left, ekLeft, 49}, KeyRow{Qt::Key_Up, ekUp, 51},
                    KeyRow{Qt::Key_Right, ekRight, 51}, KeyRow{Qt::Key_Down, ekDown, 49}));

TEST(AnalogControlKeys, HeldKeyStepsOnEveryRepeatAndReportsOnceAtTheRelease) {
    Bench b;
    LoadDial(b.d(), kAmplitudeDial);
    wi::KeyClick(b.d(), Qt::Key_Shift); // the loaded change is reported
    ValueEventSpy spy(b.d());
    wi::KeyPress(b.d(), Qt::Key_Up);
    for (int i = 0; i < 4; ++i) {
        // The window system repeats a held key as release-press pairs.
        wi::KeyRelease(b.d(), Qt::Key_Up, true);
        wi::KeyPress(b.d(), Qt::Key_Up, true);
    }
    EXPECT_EQ(spy.changes, (std::vector<int>{51, 52, 53, 54, 55}));
    EXPECT_EQ(spy.changed, 0);
    wi::KeyRelease(b.d(), Qt::Key_Up);
    EXPECT_EQ(spy.changed, 1);
}

TEST(AnalogControlKeys, PageUpAtTheEndChangesNothing) {
    Bench b;
    LoadDial(b.d(), kAmplitudeDial);
    wi::KeyClick(b.d(), Qt::Key_End);
    ValueEventSpy spy(b.d());
    wi::KeyClick(b.d(), Qt::Key_PageUp);
    EXPECT_EQ(b.d().Digit(), 100);
    EXPECT_TRUE(spy.changes.empty());
    EXPECT_EQ(spy.changed, 0);
}

TEST(AnalogControlKeys, KeyDownHandlerCanTakeTheKeyAway) {
    Bench b;
    LoadDial(b.d(), kAmplitudeDial);
    TKeyCode seen = 0;
    b.d().OnKeyDown.Set([&](TPersistent*, TKeyCode& key, TShiftState) {
        seen = key;
        key = 0;
    });
    wi::KeyClick(b.d(), Qt::Key_Up);
    EXPECT_EQ(seen, vkUp);
    EXPECT_EQ(b.d().Digit(), 50);
}

// --- Wheel ----------------------------------------------------------------

TEST(AnalogControlWheel, NotchesStepAndWaitForTheNextReleaseToReport) {
    Bench b;
    LoadDial(b.d(), kAmplitudeDial);
    wi::KeyClick(b.d(), Qt::Key_Shift);
    ValueEventSpy spy(b.d());
    wi::Wheel(b.d(), {40, 40}, 120);
    EXPECT_EQ(b.d().Digit(), 51);
    wi::Wheel(b.d(), {40, 40}, -120);
    wi::Wheel(b.d(), {40, 40}, -120);
    EXPECT_EQ(b.d().Digit(), 49);
    EXPECT_EQ(spy.changed, 0);
    // Fast turns come as several notches at once, fine wheels as parts.
    wi::Wheel(b.d(), {40, 40}, 240);
    EXPECT_EQ(b.d().Digit(), 51);
    wi::Wheel(b.d(), {40, 40}, 60);
    EXPECT_EQ(b.d().Digit(), 51);
    wi::Wheel(b.d(), {40, 40}, 60);
    EXPECT_EQ(b.d().Digit(), 52);
    EXPECT_EQ(spy.changes, (std::vector<int>{51, 50, 49, 50, 51, 52}));
    // A left-button release anywhere reports it, once.
    wi::Press(b.d(), {1, 1});
    wi::Release(b.d(), {1, 1});
    EXPECT_EQ(spy.changed, 1);
    wi::Press(b.d(), {1, 1});
    wi::Release(b.d(), {1, 1});
    EXPECT_EQ(spy.changed, 1);
}

TEST(AnalogControlWheel, IgnoredWhileDesigning) {
    Bench b;
    LoadDial(b.d(), kAmplitudeDial);
    b.d().SetDesigning(true);
    wi::Wheel(b.d(), {40, 40}, 120);
    EXPECT_EQ(b.d().Digit(), 50);
}

// --- Mouse and focus ------------------------------------------------------

struct AreaRow {
    TRect area;
    bool round;
    int x;
    int y;
    bool inside;
};

class AreaTest : public testing::TestWithParam<AreaRow> {};

TEST_P(AreaTest, PointInArea) {
    const AreaRow& row = GetParam();
    TTestDial dial(nullptr);
    dial.SetActiveArea(row.area, row.round);
    EXPECT_EQ(dial.PointInArea(row.x, row.y), row.inside) << row.x << "," << row.y;
}

// The rectangle counts its bottom edge but not its right edge; the circle
// is inscribed in the rectangle.
INSTANTIATE_TEST_SUITE_P(Areas, AreaTest,
                         testing::Values(AreaRow{{10, 10, 50, 40}, false, 10, 10, true},
                                         AreaRow{{10, 10, 50, 40}, false, 49, 40, true},
                                         AreaRow{{10, 10, 50, 40}, false, 50, 20, false},
                                         AreaRow{{10, 10, 50, 40}, false, 20, 41, false},
                                         AreaRow{{10, 10, 50, 40}, false, 9, 20, false},
                                         AreaRow{{0, 0, 84, 84}, true, 42, 0, true},
                                         AreaRow{{0, 0, 84, 84}, true, 84, 42, true},
                                         AreaRow{{0, 0, 84, 84}, true, 0, 42, true},
                                         AreaRow{{0, 0, 84, 84}, true, 12, 12, false},
                                         AreaRow{{0, 0, 84, 84}, true, 85, 42, false},
                                         AreaRow{{0, 0, 0, 0}, false, 0, 0, false}));

TEST(AnalogControlMouse, LeftPressInTheAreaStartsADragThatTracksThePointer) {
    Bench b;
    b.d().SetActiveArea({0, 0, 84, 84}, true);
    b.d().clearFocus();
    wi::Press(b.d(), {42, 20});
    EXPECT_TRUE(b.d().hasFocus());
    EXPECT_TRUE(b.d().Dragging());
    wi::Move(b.d(), {50, 30}, Qt::LeftButton);
    wi::Move(b.d(), {200, 200}, Qt::LeftButton); // a drag goes on outside the area
    EXPECT_EQ(b.d().tracked, (std::vector<QPoint>{{42, 20}, {50, 30}, {200, 200}}));
    wi::Release(b.d(), {200, 200});
    EXPECT_FALSE(b.d().Dragging());
    wi::Move(b.d(), {42, 42});
    EXPECT_EQ(b.d().tracked.size(), 3u);
}

TEST(AnalogControlMouse, PressOutsideTheAreaOrWithAnotherButtonOnlyTakesTheFocus) {
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        Bench b;
        b.d().SetActiveArea({0, 0, 84, 84}, true);
        b.d().clearFocus();
        const QPoint at = button == Qt::LeftButton ? QPoint(2, 2) : QPoint(42, 42);
        wi::Press(b.d(), at, button);
        EXPECT_TRUE(b.d().hasFocus());
        EXPECT_FALSE(b.d().Dragging());
        EXPECT_TRUE(b.d().tracked.empty());
        wi::Release(b.d(), at, button);
    }
}

TEST(AnalogControlMouse, LeftReleaseReportsAPendingChangeOnly) {
    Bench b;
    LoadDial(b.d(), kAmplitudeDial);
    ValueEventSpy spy(b.d());
    wi::Press(b.d(), {1, 1}, Qt::RightButton);
    wi::Release(b.d(), {1, 1}, Qt::RightButton);
    EXPECT_EQ(spy.changed, 0) << "only the left button ends a gesture";
    wi::Press(b.d(), {1, 1});
    wi::Release(b.d(), {1, 1});
    EXPECT_EQ(spy.changed, 1);
    wi::Press(b.d(), {1, 1});
    wi::Release(b.d(), {1, 1});
    EXPECT_EQ(spy.changed, 1) << "nothing pending";
    b.d().SetValue(70.0f); // as the panel's channel switch does
    wi::Press(b.d(), {1, 1});
    wi::Release(b.d(), {1, 1});
    EXPECT_EQ(spy.changed, 2);
}

TEST(AnalogControlMouse, CursorShowsTheSlideShapeOverTheArea) {
    Bench b;
    b.d().SetActiveArea({0, 0, 84, 84}, true);
    wi::Move(b.d(), {42, 42});
    EXPECT_TRUE(b.d().InArea());
    EXPECT_TRUE(b.d().testAttribute(Qt::WA_SetCursor));
    EXPECT_EQ(b.d().cursor().shape(), CursorOf(crHand).shape());
    EXPECT_EQ(b.d().Cursor(), crDefault) << "the stored cursor stays the normal one";
    wi::Move(b.d(), {1, 1});
    EXPECT_FALSE(b.d().InArea());
    EXPECT_FALSE(b.d().testAttribute(Qt::WA_SetCursor));
}

TEST(AnalogControlMouse, MouseEventsReachTheirHandlers) {
    Bench b;
    std::vector<std::string> seen;
    b.d().OnMouseDown.Set([&](TPersistent*, TMouseButton button, TShiftState shift, int x, int y) {
        seen.push_back("down " + std::to_string(button) + " " + std::to_string(shift) + " " +
                       std::to_string(x) + "," + std::to_string(y));
    });
    b.d().OnMouseMove.Set([&](TPersistent*, TShiftState, int x, int y) {
        seen.push_back("move " + std::to_string(x) + "," + std::to_string(y));
    });
    b.d().OnMouseUp.Set([&](TPersistent*, TMouseButton button, TShiftState, int, int) {
        seen.push_back("up " + std::to_string(button));
    });
    b.d().OnClick.Set([&](TPersistent*) { seen.push_back("click"); });
    wi::Press(b.d(), {5, 6});
    wi::Move(b.d(), {7, 8}, Qt::LeftButton);
    wi::Release(b.d(), {7, 8});
    EXPECT_EQ(seen, (std::vector<std::string>{"down 0 8 5,6", "move 7,8", "up 0", "click"}));
}

TEST(AnalogControlFocus, GainingAndLosingTheFocusRefreshesTheTexts) {
    Bench b;
    LoadDial(b.d(), kAmplitudeDial);
    QWidget other(&b.host);
    other.setFocusPolicy(Qt::StrongFocus);
    other.show();
    int enters = 0;
    int exits = 0;
    b.d().OnEnter.Set([&](TPersistent*) { ++enters; });
    b.d().OnExit.Set([&](TPersistent*) { ++exits; });
    const int before = b.d().digitChanges;
    other.setFocus();
    QApplication::processEvents();
    b.d().setFocus();
    QApplication::processEvents();
    EXPECT_EQ(exits, 1);
    EXPECT_EQ(enters, 1);
    EXPECT_EQ(b.d().digitChanges, before + 2);
    b.d().SetEnabled(false);
    EXPECT_FALSE(b.d().Enabled());
    EXPECT_GE(b.d().digitChanges, before + 3);
}

// --- Value indicator ------------------------------------------------------

TEST(AnalogControlIndicator, DrivesTheDisplayAndForgetsItWhenItGoes) {
    TTestDial dial(nullptr);
    LoadDial(dial, kAmplitudeDial);
    auto display = std::make_unique<TAbAnalogGControl>(nullptr);
    display->Loaded();
    dial.SetValueIndicator(display.get());
    EXPECT_EQ(display->SignalSettings()->DigitalTo(), 100);
    EXPECT_EQ(display->SignalSettings()->ValueFormat(), "000");
    EXPECT_EQ(display->Value(), 50.0f);
    EXPECT_EQ(display->Digit(), 50);
    dial.SetDigit(70);
    EXPECT_FLOAT_EQ(display->Value(), 70.0f);
    EXPECT_EQ(display->PPT(), 700);
    dial.SignalSettings()->SetValueFormat("0.0");
    EXPECT_EQ(display->SignalSettings()->ValueFormat(), "0.0");
    display.reset();
    EXPECT_EQ(dial.ValueIndicator(), nullptr);
    dial.SetDigit(10); // nothing left to drive
    EXPECT_EQ(dial.ValueText(), "10.0");
}

} // namespace
