// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Turns Qt's input descriptions into the terms of the controls' events:
// shift state, mouse button and virtual-key code.

#include "controls/base/Events.h"

#include <Qt>

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
// Left for anything that is neither the right nor the middle button.
TMouseButton MouseButtonOf(Qt::MouseButton button);
// The virtual-key code of a Qt key; 0 for keys that have none.
TKeyCode VirtualKeyOf(int qtKey);
