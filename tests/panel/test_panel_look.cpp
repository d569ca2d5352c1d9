// SPDX-License-Identifier: GPL-3.0-or-later
#include "panel/PanelLook.h"

#include <gtest/gtest.h>

using namespace panel;

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
