// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether the window system answers, asked before Qt is: Qt's window
// system plugins abort the program when the display they are given does
// not answer, or a platform they do not have. A platform chosen
// explicitly (offscreen, vnc, ...) is trusted when Qt has its plugin.

#include <string>

struct DisplayReach {
    bool reachable = false;
    // Without a display: why, for the one line the program prints.
    std::string why;
    // With one: the Qt platform to use where only one of X and Wayland
    // answers (empty: leave Qt's own choice).
    std::string platform;
};

DisplayReach CheckDisplay();
