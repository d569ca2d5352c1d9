// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/paint/BevelKinds.h"

const std::vector<std::string>& BevelStyleNames() {
    static const std::vector<std::string> names = {"bsLowered", "bsRaised"};
    return names;
}

const std::vector<std::string>& BevelLineNames() {
    static const std::vector<std::string> names = {"blNone", "blOuter", "blInner", "blBoth"};
    return names;
}
