// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader finds on the panel: every dial by what it sets, with
// its value, and a value change announced when a key turns it.

#include "PanelFixture.h"
#include "controls/access/ControlAccessible.h"
#include "platform/language/LocaleLanguage.h"

#include <QAccessible>
#include <QtTest/QtTest>

#include <map>
#include <vector>

namespace {

std::vector<QAccessibleInterface*> Descendants(QAccessibleInterface* root) {
    std::vector<QAccessibleInterface*> all;
    for (int i = 0; i < root->childCount(); ++i) {
        QAccessibleInterface* child = root->child(i);
        all.push_back(child);
        const auto below = Descendants(child);
        all.insert(all.end(), below.begin(), below.end());
    }
    return all;
}

// The value changes announced, by the control they concern.
std::vector<std::pair<QWidget*, double>> announced;
void Record(QWidget* control, double value) {
    announced.emplace_back(control, value);
}

class AccessibilityTest : public PanelTest {
protected:
    void SetUp() override {
        previousWatcher = SetValueChangeWatcher(&Record);
        announced.clear();
        PanelTest::SetUp();
    }
    void TearDown() override {
        PanelTest::TearDown();
        SetValueChangeWatcher(previousWatcher);
    }
    ValueChangeWatcher previousWatcher = nullptr;
};

} // namespace

TEST_F(AccessibilityTest, EveryDialIsNamedByWhatItSetsAndTellsItsValue) {
    const bool english = locale_language::PanelLanguage() == "en";
    const std::map<std::string, QWidget*> expected{
        {english ? "Thousands of hertz" : "Тысячи герц", form->AbGearDial1},
        {english ? "Hundreds of hertz" : "Сотни герц", form->AbGearDial2},
        {english ? "Tens and units of hertz" : "Десятки и единицы герц", form->AbGearDial3},
        {english ? "Amplitude" : "Амплитуда", form->AbGearDial4},
    };
    std::map<std::string, QAccessibleInterface*> dials;
    int unnamed = 0;
    for (QAccessibleInterface* node :
         Descendants(QAccessible::queryAccessibleInterface(form.get()))) {
        if (node->role() == QAccessible::Dial)
            dials[node->text(QAccessible::Name).toStdString()] = node;
        else if (node->text(QAccessible::Name).isEmpty() && node->role() != QAccessible::Graphic &&
                 node->role() != QAccessible::Pane && node->role() != QAccessible::Grouping) {
            ++unnamed;
        }
    }
    ASSERT_EQ(dials.size(), expected.size());
    for (const auto& [name, widget] : expected) {
        ASSERT_TRUE(dials.count(name)) << name;
        QAccessibleInterface* dial = dials[name];
        EXPECT_EQ(dial->object(), widget) << name;
        ASSERT_NE(dial->valueInterface(), nullptr) << name;
        EXPECT_FALSE(dial->text(QAccessible::Value).isEmpty()) << name;
        EXPECT_LT(dial->valueInterface()->minimumValue().toDouble(),
                  dial->valueInterface()->maximumValue().toDouble());
    }
    // Buttons, switches, groups and displays carry a name too (the status
    // line and the credit strip may be empty between hints).
    EXPECT_LE(unnamed, 2);

    // A key turns the amplitude dial: the value interface and an announcement follow.
    QAccessibleInterface* amplitude = dials[english ? "Amplitude" : "Амплитуда"];
    const QString before = amplitude->text(QAccessible::Value);
    const double valueBefore = amplitude->valueInterface()->currentValue().toDouble();
    FocusDial(form->AbGearDial4);
    Key(Qt::Key_Up);
    EXPECT_NE(amplitude->text(QAccessible::Value), before);
    EXPECT_GT(amplitude->valueInterface()->currentValue().toDouble(), valueBefore);
    ASSERT_FALSE(announced.empty());
    EXPECT_EQ(announced.back().first, form->AbGearDial4);
    EXPECT_DOUBLE_EQ(announced.back().second,
                     amplitude->valueInterface()->currentValue().toDouble());
}
