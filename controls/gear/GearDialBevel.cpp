// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/gear/GearDialBevel.h"

TAbGearDialBevel::TAbGearDialBevel() {
    SetColorShadowFrom(DialColorShadowFrom);
    SetColorShadowTo(DialColorShadowTo);
    SetCircular(true);
    SetBevelLine(DialBevelLine);
    SetPenColor(DialPenColor);
    SetSpacing(DialSpacing);
    KeepSetUpAsDefaults();
}
