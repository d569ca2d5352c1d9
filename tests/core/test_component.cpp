// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestComponents.h"
#include "core/ByteStream.h"
#include "core/DesignMessage.h"

#include <gtest/gtest.h>

namespace {

TEST(Component, OwnerDestroysOwnedComponentsNewestFirst) {
    EventLog().clear();
    {
        TComponent form(nullptr);
        new TTracked(&form, "a");
        auto* b = new TTracked(&form, "b");
        new TTracked(b, "b1"); // owned by b, goes with b
        new TTracked(&form, "c");
        EXPECT_EQ(form.ComponentCount(), 3);
    }
    // Each component's own destructor runs first, then it destroys what it owns.
    EXPECT_EQ(EventLog(), (std::vector<std::string>{"~c", "~b", "~b1", "~a"}));
}

TEST(Component, DeletingAnOwnedComponentTakesItOutOfItsOwner) {
    TComponent form(nullptr);
    auto* a = new TTracked(&form, "a");
    a->SetName("A");
    EXPECT_EQ(form.FindComponent("A"), a);
    delete a;
    EXPECT_EQ(form.ComponentCount(), 0);
    EXPECT_EQ(form.FindComponent("A"), nullptr);
}

TEST(Component, FreeNotificationTellsTheOtherSideOnce) {
    EventLog().clear();
    TComponent form(nullptr);
    auto* display = new TTracked(&form, "display");
    auto* dial = new TTracked(&form, "dial");
    dial->FreeNotification(display);
    dial->FreeNotification(display); // asking twice is still one notice
    delete display;
    EXPECT_EQ(EventLog(), (std::vector<std::string>{"~display", "dial told of a component"}));
    EventLog().clear();
    delete dial; // the link is gone with display: nothing dangles
    EXPECT_EQ(EventLog(), (std::vector<std::string>{"~dial"}));
}

TEST(Component, DesigningIsInheritedFromTheOwner) {
    TComponent form(nullptr);
    EXPECT_FALSE(form.IsDesigning());
    form.SetDesigning(true);
    auto* child = new TComponent(&form);
    EXPECT_TRUE(child->IsDesigning());
    form.SetDesigning(false);
    EXPECT_FALSE(child->IsDesigning());
}

TEST(Component, DesignMessagesGoNowhereUntilAHookIsInstalled) {
    ShowDesignMessage("no hook", "caption", MessageIcon::Warning); // must not crash
    std::string seen;
    auto previous = SetDesignMessageHook(
        [&](const std::string& t, const std::string& c, MessageIcon) { seen = c + ": " + t; });
    ShowDesignMessage("Frequency out of range", "TToneGen", MessageIcon::Error);
    EXPECT_EQ(seen, "TToneGen: Frequency out of range");
    SetDesignMessageHook(previous);
}

TEST(Component, AssignFromAnotherClassIsRefusedWithTheClassNames) {
    TTestSettings target;
    TComponent source(nullptr);
    try {
        target.Assign(source);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "Cannot assign a TComponent to a TTestSettings");
    }
}

TEST(ByteStream, WritesAndReadsLittleEndian) {
    TMemoryStream s;
    s.WriteU8(0xAB);
    s.WriteI16(-2);
    s.WriteU32(0x11223344);
    s.WriteI32(-7);
    s.WriteFloat(0.5f);
    EXPECT_EQ(s.Bytes(), (std::vector<std::uint8_t>{0xAB, 0xFE, 0xFF, 0x44, 0x33, 0x22, 0x11, 0xF9,
                                                    0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x3F}));
    s.Seek(0);
    EXPECT_EQ(s.ReadU8(), 0xAB);
    EXPECT_EQ(s.ReadI16(), -2);
    EXPECT_EQ(s.ReadU32(), 0x11223344u);
    EXPECT_EQ(s.ReadI32(), -7);
    EXPECT_EQ(s.ReadFloat(), 0.5f);
    EXPECT_EQ(s.Remaining(), 0u);
}

TEST(ByteStream, ReadingPastTheEndThrowsAndConsumesNothing) {
    TMemoryStream s({1, 2, 3});
    EXPECT_THROW(s.ReadU32(), EReadError);
    EXPECT_EQ(s.Position(), 0u);
    EXPECT_EQ(s.ReadU16(), 0x0201);
    EXPECT_THROW(s.ReadU16(), EReadError);
    EXPECT_EQ(s.ReadU8(), 3);
    EXPECT_THROW(s.ReadU8(), EReadError);
}

} // namespace
