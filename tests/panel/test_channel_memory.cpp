// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/ChannelMemory.h"
#include "panel/PanelLook.h"

#include <gtest/gtest.h>

using namespace panel;

TEST(ChannelMemory, StartsAtTheStoredDialPositions) {
    const TChannelMemory m;
    EXPECT_EQ(m.Left(), (TDialPositions{1.0f, 0.0f, 0.0f, 50.0f}));
    EXPECT_EQ(m.Right(), (TDialPositions{1.0f, 0.0f, 0.0f, 50.0f}));
    EXPECT_EQ(m.BothAmplitude(), 50.0f);
}

TEST(ChannelMemory, EachChannelKeepsOnlyItsOwnPositions) {
    TChannelMemory m;
    m.Save(TChannel::Left, {5.0f, 3.0f, 40.0f, 20.0f});
    EXPECT_EQ(m.Left(), (TDialPositions{5.0f, 3.0f, 40.0f, 20.0f}));
    EXPECT_EQ(m.Right(), TChannelMemory::kInitial);
    EXPECT_EQ(m.BothAmplitude(), 50.0f);

    m.Save(TChannel::Right, {7.0f, 1.0f, 10.0f, 80.0f});
    EXPECT_EQ(m.Right(), (TDialPositions{7.0f, 1.0f, 10.0f, 80.0f}));
    EXPECT_EQ(m.Left(), (TDialPositions{5.0f, 3.0f, 40.0f, 20.0f}));

    // Both channels remember the amplitude alone.
    m.Save(TChannel::Both, {9.0f, 9.0f, 90.0f, 65.0f});
    EXPECT_EQ(m.BothAmplitude(), 65.0f);
    EXPECT_EQ(m.Left(), (TDialPositions{5.0f, 3.0f, 40.0f, 20.0f}));
    EXPECT_EQ(m.Right(), (TDialPositions{7.0f, 1.0f, 10.0f, 80.0f}));

    m.Reset();
    EXPECT_EQ(m.Left(), TChannelMemory::kInitial);
    EXPECT_EQ(m.BothAmplitude(), 50.0f);
}

TEST(PanelLook, TheSoundingChannelsDisplaysAreLit) {
    EXPECT_EQ(DisplayLighting(TChannel::Left).left, kActiveDisplay);
    EXPECT_EQ(DisplayLighting(TChannel::Left).right, kInactiveDisplay);
    EXPECT_EQ(DisplayLighting(TChannel::Right).left, kInactiveDisplay);
    EXPECT_EQ(DisplayLighting(TChannel::Right).right, kActiveDisplay);
    EXPECT_EQ(DisplayLighting(TChannel::Both).left, kActiveDisplay);
    EXPECT_EQ(DisplayLighting(TChannel::Both).right, kActiveDisplay);
    EXPECT_EQ(SwitchCaptionColor(true), clYellow);
    EXPECT_EQ(SwitchCaptionColor(false), clGray);
}
