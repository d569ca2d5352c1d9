// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pointer services Qt gives in another shape than the controls expect.

class QWidget;

// True while some window holds the mouse: a button is held (Qt grabs the
// pointer for the pressed widget) or a widget grabbed it explicitly.
bool AnyWindowHoldsMouseCapture();

// Enables or disables a control so that, while disabled, the pointer's
// events reach whatever lies beneath it (Qt would otherwise hand them to the
// control's parent).
void SetEnabledPassingPointer(QWidget& control, bool enabled);
