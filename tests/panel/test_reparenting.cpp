// SPDX-License-Identifier: GPL-3.0-or-later
// Where a control's widget lies, for every class a stored layout can create:
// in its parent component's widget, else in its owner's, keeping its bounds
// and its own Visible setting.

#include "controls/std/StdForm.h"
#include "core/ClassRegistry.h"
#include "engine/DefaultSoundOutput.h"
#include "panel/PanelClasses.h"
#include "tests/support/RecordingSoundOutput.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

void SetStored(TComponent& c, const std::string& name, PropertyValue value) {
    const PropertyList props = c.StoredProperties();
    const PropertyInfo* info = props.Find(name);
    ASSERT_NE(info, nullptr) << c.ClassName() << " stores no " << name;
    info->set(c, value);
}

class Reparenting : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterPanelClasses();
        previous = SetDefaultSoundOutput(std::make_shared<RecordingSoundOutput>());
        auto& registry = ClassRegistry::Instance();
        panel = registry.Create("TPanel", &form);
        other = registry.Create("TTimer", &form);
        form.resize(300, 200);
        form.show();
    }
    void TearDown() override {
        form.DestroyComponents();
        SetDefaultSoundOutput(previous);
    }

    TForm form;
    TComponent* panel = nullptr;
    TComponent* other = nullptr; // a component that is no widget
    std::shared_ptr<SoundOutput> previous;
};

TEST_F(Reparenting, EveryControlMovesIntoItsParentAndBackToItsOwnerKeepingBoundsAndVisible) {
    int controls = 0;
    for (const std::string& name : ClassRegistry::Instance().ClassNames()) {
        SCOPED_TRACE(name);
        TComponent* c = ClassRegistry::Instance().Create(name, &form);
        auto* w = dynamic_cast<QWidget*>(c);
        if (!w)
            continue; // the timer and the tone generator have no window
        ++controls;
        // Loading, as while the layout reader applies the stored values and
        // nests the control (a dial squares itself only once loaded).
        c->SetLoading(true);
        SetStored(*c, "Left", std::int64_t(5));
        SetStored(*c, "Top", std::int64_t(6));
        SetStored(*c, "Width", std::int64_t(40));
        SetStored(*c, "Height", std::int64_t(30));
        const QRect bounds(5, 6, 40, 30);
        EXPECT_EQ(w->geometry(), bounds);
        EXPECT_EQ(w->parentWidget(), &form) << "created in its owner";

        SetStored(*c, "Visible", false);
        c->SetParentComponent(panel);
        EXPECT_EQ(w->parentWidget(), dynamic_cast<QWidget*>(panel));
        EXPECT_EQ(w->geometry(), bounds);
        EXPECT_FALSE(w->isVisibleTo(&form));

        SetStored(*c, "Visible", true);
        EXPECT_TRUE(w->isVisibleTo(&form));
        c->SetParentComponent(other);
        EXPECT_EQ(w->parentWidget(), &form) << "a parent that is no widget means the owner";
        EXPECT_EQ(w->geometry(), bounds);
        EXPECT_TRUE(w->isVisibleTo(&form));

        c->SetParentComponent(panel);
        c->SetParentComponent(nullptr);
        EXPECT_EQ(w->parentWidget(), &form);
        EXPECT_EQ(w->geometry(), bounds);
        EXPECT_TRUE(w->isVisibleTo(&form));
        delete c;
    }
    EXPECT_GE(controls, 6);
}

} // namespace
