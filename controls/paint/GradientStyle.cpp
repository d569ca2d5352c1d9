// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/paint/GradientStyle.h"

const std::vector<std::string>& GradientStyleNames() {
    static const std::vector<std::string> names = {
        "gsHorizontal1", "gsHorizontal2", "gsHorizontal3", "gsVertical1", "gsVertical2",
        "gsVertical3",   "gsElliptic1",   "gsElliptic2",   "gsElliptic3", "gsRectangle",
        "gsDiamond1",    "gsDiamond2",    "gsTopLeft",     "gsTopRight"};
    return names;
}
