// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Non-windowed controls draw on their parent's surface: they take what lies
// under them (the parent's own painting and the sibling controls beneath
// them) as their background.

class QWidget;
class TBitmap;

// Renders into `into` (resized to the control's size) what the parent and
// the siblings below `control` in the stacking order show in the control's
// area. A control without a parent gets its own background colour.
void CaptureParentBackground(const QWidget& control, TBitmap& into);
